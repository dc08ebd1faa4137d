#pragma once

#include "platform/net/httpsession.h"

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

#include <cstdint>

namespace kivo::chrome {

/// Decodes a JPEG held as bytes; a null image (nothing) for no bytes or undecodable ones.
QImage LoadJpegResource(const QByteArray& bytes);

/// The program's JPEG resource `id` (101 to 115) decoded; nothing for an unknown id.
QImage LoadResourceImage(int id);

/// Where resource `id` is read from: the picture drawn at twice its size on a screen of twice
/// the density, where the artwork has one.
QString ResourceImagePath(int id);

/// Where picture `name` is read from, chosen as ResourceImagePath chooses.
QString PicturePath(const QString& name);

/// The bytes of resource `id`, empty when there is none.
QByteArray ResourceBytes(int id);

/// One of the windows' PNG pictures by name ("card", "close_grey", ...); nothing when unknown.
QImage LoadPicture(const QString& name);

/// The program's own icon, for its windows and its notification icon; read on first use.
QIcon ProgramIcon();

/// A picture from a file path or an http(s) address (fetched over `session` when one is given);
/// nothing when neither gives one.
QImage LoadPictureFromPath(const QString& path, platform::HttpSession* session = nullptr);

/// The smallest whole number not below x for x with a fraction above its whole part; otherwise x
/// rounded to the nearest whole number, halves to even. Throws std::overflow_error outside
/// the 16-bit range.
std::int16_t RoundUp(float x);

} // namespace kivo::chrome
