#include "platform/files/textdecoder.h"

#include <QLoggingCategory>

#include <cerrno>
#include <iconv.h>
#include <vector>

Q_LOGGING_CATEGORY(lcDecoder, "kivo.platform.textdecoder")

namespace kivo::platform {

std::string CharsetOf(std::string_view contentType) {
    std::string lower(contentType);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    const auto at = lower.find("charset=");
    if (at == std::string::npos) {
        return {};
    }
    std::string value = lower.substr(at + 8);
    const auto end = value.find_first_of("; \t");
    value = value.substr(0, end);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

std::u16string DecodeResponseText(std::string_view body, std::string_view contentType) {
    std::string charset = CharsetOf(contentType);
    if (charset == "utf8") {
        charset = "utf-8";
    }
    // Services often label GBK text as GB2312; GB18030 reads both, and more.
    if (charset == "gb2312" || charset == "gbk" || charset == "cp936") {
        charset = "gb18030";
    }
    iconv_t cd = charset.empty() ? reinterpret_cast<iconv_t>(-1) : iconv_open("UTF-16LE", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (!charset.empty() && charset != "utf-8" && charset != "utf8") {
            qCWarning(lcDecoder) << "unknown charset" << charset.c_str() << "- reading as UTF-8";
        }
        charset = "utf-8";
        cd = iconv_open("UTF-16LE", "UTF-8");
    }
    if (charset == "utf-8" && body.substr(0, 3) == "\xEF\xBB\xBF") {
        body.remove_prefix(3);
    }
    std::vector<char> out(body.size() * 4 + 16);
    char* in = const_cast<char*>(body.data());
    size_t inLeft = body.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) {
            continue;
        }
        if (errno == EILSEQ || errno == EINVAL) {
            // An undecodable byte becomes U+FFFD; go on after it.
            if (outLeft < 2) {
                break;
            }
            *outPtr++ = static_cast<char>(0xFD);
            *outPtr++ = static_cast<char>(0xFF);
            outLeft -= 2;
            ++in;
            --inLeft;
        } else {
            break;
        }
    }
    iconv_close(cd);
    std::u16string result;
    const size_t bytes = out.size() - outLeft;
    result.resize(bytes / 2);
    for (size_t i = 0; i < result.size(); ++i) {
        result[i] = static_cast<char16_t>(static_cast<unsigned char>(out[2 * i]) |
                                          (static_cast<unsigned char>(out[2 * i + 1]) << 8));
    }
    return result;
}

} // namespace kivo::platform
