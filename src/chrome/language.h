#pragma once

namespace kivo::chrome {

/// Makes what Qt and the browser engine draw themselves speak Chinese, whatever the desktop's
/// language: the default locale (which the engine takes when it starts, for its built-in texts)
/// and Qt's own translations (file chooser, print dialog, standard buttons). Call once, after the
/// application object exists and before the engine starts. False when Qt's Chinese translations
/// are not installed (the log says which package brings them).
bool SpeakChinese();

} // namespace kivo::chrome
