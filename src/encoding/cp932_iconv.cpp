// Code page 932 on glibc: iconv ("CP932") asked about one character at a time.

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "encoding/cp932_platform.h"

namespace qb::cp932::detail {

namespace {

constexpr const char* kUtf16Native = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr std::size_t kNoConversion = static_cast<std::size_t>(-1);

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr): iconv_open failure value
            throw std::runtime_error(std::string("code page 932 conversion is not available: ") + std::strerror(errno));
        }
    }
    ~IconvHandle() { iconv_close(cd_); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    // Converts the whole input in one go into out, its length in outSize; false when
    // iconv refuses the input or finds it incomplete.
    bool ConvertWhole(const void* in, std::size_t inSize, void* out, std::size_t outCapacity, std::size_t& outSize) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = static_cast<char*>(const_cast<void*>(in));  // iconv's signature; the input is not written
        std::size_t inLeft = inSize;
        char* outPtr = static_cast<char*>(out);
        std::size_t outLeft = outCapacity;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == kNoConversion || inLeft != 0) {
            return false;
        }
        outSize = outCapacity - outLeft;
        return true;
    }

private:
    iconv_t cd_;
};

}  // namespace

struct PlatformCodePage::Impl {
    IconvHandle toUtf16{kUtf16Native, "CP932"};
    IconvHandle fromUtf16{"CP932", kUtf16Native};
};

PlatformCodePage::PlatformCodePage() : impl_(std::make_unique<Impl>()) {}
PlatformCodePage::~PlatformCodePage() = default;

std::optional<char16_t> PlatformCodePage::Decode(std::string_view bytes) {
    char16_t c[2];
    std::size_t size = 0;
    if (impl_->toUtf16.ConvertWhole(bytes.data(), bytes.size(), c, sizeof c, size) && size == sizeof(char16_t)) {
        return c[0];
    }
    return std::nullopt;
}

std::optional<std::uint16_t> PlatformCodePage::Encode(char16_t c) {
    unsigned char out[4];
    std::size_t size = 0;
    if (!impl_->fromUtf16.ConvertWhole(&c, sizeof c, out, sizeof out, size)) {
        return std::nullopt;
    }
    if (size == 1) {
        return out[0];
    }
    if (size == 2) {
        return static_cast<std::uint16_t>(out[0] << 8 | out[1]);
    }
    return std::nullopt;
}

}  // namespace qb::cp932::detail
