#pragma once
// What goes over the controller link, told as it happens: the link tells a trace of every
// open, close, burst of bytes and time-out. A link without a trace only tests one pointer.

#include <cstddef>
#include <string_view>

namespace korvath {

class LinkTrace {
public:
    virtual ~LinkTrace() = default;

    // The link opened on device (a path, or the USB link), or did not, for the reason given.
    virtual void Opened(std::string_view device) = 0;
    virtual void OpenFailed(std::string_view device, std::string_view why) = 0;
    virtual void Closed() = 0;
    // Bytes sent to the controller and received from it.
    virtual void Sent(const unsigned char* data, std::size_t n) = 0;
    virtual void Received(const unsigned char* data, std::size_t n) = 0;
    // A read ended by its time-out with `got` of the `asked` bytes.
    virtual void TimedOut(std::size_t asked, std::size_t got) = 0;
};

}  // namespace korvath
