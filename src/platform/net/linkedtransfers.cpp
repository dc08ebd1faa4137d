// Linked into programs that carry libcurl themselves (the tests, kivoctl): their sessions use the
// transfer they link, with no module to look for.
#include "platform/net/curltransfer.h"

namespace {

const bool kLinked = [] {
    kivo::platform::HttpTransfers() = [](const kivo::platform::HttpTimeouts& timeouts,
                                         const kivo::platform::HttpNetwork& network, std::size_t maxBody,
                                         const std::atomic<bool>& aborted) {
        return std::make_unique<kivo::platform::CurlTransfer>(timeouts, network, maxBody, aborted);
    };
    return true;
}();

} // namespace
