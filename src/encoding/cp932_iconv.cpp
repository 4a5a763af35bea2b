// Code page 932 through glibc iconv ("CP932"), with the points where Windows differs
// from iconv mended here: the single bytes 0x80, 0xA0 and 0xFD..0xFF, and the
// replacement characters for what cannot be converted.

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "encoding/cp932.h"
#include "encoding/cp932_special.h"

namespace qb::cp932 {

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

    // One iconv call; returns 0 on success or the errno value.
    int Convert(char** in, std::size_t* inLeft, char** out, std::size_t* outLeft) {
        if (iconv(cd_, in, inLeft, out, outLeft) == kNoConversion) {
            return errno;
        }
        return 0;
    }
    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

}  // namespace

// ---- Decoder ---------------------------------------------------------------------

struct Decoder::Impl {
    IconvHandle cd{kUtf16Native, "CP932"};
    std::string pending;  // a lead byte waiting for its second byte

    // Decodes bytes[0..n) into out. Returns how many bytes were consumed: all of them,
    // unless !final and the input ends in an incomplete character.
    std::size_t Run(const char* data, std::size_t n, std::u16string& out, bool final) {
        const std::size_t base = out.size();
        out.resize(base + n);  // one code unit per byte at most
        char* outPtr = reinterpret_cast<char*>(out.data() + base);
        std::size_t outLeft = n * sizeof(char16_t);
        char* in = const_cast<char*>(data);  // iconv's signature; the input is not written
        std::size_t inLeft = n;
        while (inLeft > 0) {
            const int e = cd.Convert(&in, &inLeft, &outPtr, &outLeft);
            if (e == 0) {
                break;
            }
            if (e == EINVAL && !final) {
                break;  // incomplete character at the end: keep it for the next chunk
            }
            // A byte iconv refuses: one of Windows' own single bytes, or a bad lead byte.
            const auto b = static_cast<unsigned char>(*in);
            const char16_t c = detail::SpecialByteToChar(b).value_or(kBadByteChar);
            std::memcpy(outPtr, &c, sizeof c);
            outPtr += sizeof c;
            outLeft -= sizeof c;
            ++in;
            --inLeft;
            cd.Reset();
        }
        out.resize(static_cast<std::size_t>(reinterpret_cast<char16_t*>(outPtr) - out.data()));
        return n - inLeft;
    }
};

Decoder::Decoder() : impl_(std::make_unique<Impl>()) {}
Decoder::~Decoder() = default;

void Decoder::Feed(std::string_view bytes, std::u16string& out) {
    if (bytes.empty()) {
        return;
    }
    if (!impl_->pending.empty()) {
        // The kept lead byte and the first new byte: a pair, or a bad lead byte followed
        // by a byte that starts afresh.
        std::string joined = impl_->pending;
        joined += bytes.front();
        impl_->pending.clear();
        const std::size_t used = impl_->Run(joined.data(), joined.size(), out, false);
        // used is 2 for a pair; 1 when the kept byte was a bad lead byte, and the new
        // byte is then decoded afresh with the rest.
        bytes.remove_prefix(used - 1);
    }
    const std::size_t used = impl_->Run(bytes.data(), bytes.size(), out, false);
    impl_->pending.assign(bytes.substr(used));
}

void Decoder::Finish(std::u16string& out) {
    if (!impl_->pending.empty()) {
        impl_->Run(impl_->pending.data(), impl_->pending.size(), out, true);
        impl_->pending.clear();
    }
}

// ---- Encoder ---------------------------------------------------------------------

struct Encoder::Impl {
    IconvHandle cd{"CP932", kUtf16Native};
    std::u16string pending;  // a high surrogate waiting for its partner

    std::size_t Run(const char16_t* data, std::size_t n, std::string& out, bool final) {
        const std::size_t base = out.size();
        out.resize(base + n * 2);  // two bytes per code unit at most
        char* outPtr = out.data() + base;
        std::size_t outLeft = n * 2;
        char* in = reinterpret_cast<char*>(const_cast<char16_t*>(data));
        std::size_t inLeft = n * sizeof(char16_t);
        while (inLeft > 0) {
            const int e = cd.Convert(&in, &inLeft, &outPtr, &outLeft);
            if (e == 0) {
                break;
            }
            char16_t c = 0;
            std::memcpy(&c, in, sizeof c);
            std::size_t units = 1;
            if (e == EINVAL && !final) {
                break;  // a high surrogate at the end: wait for the next chunk
            }
            if (const auto special = detail::SpecialCharToByte(c)) {
                *outPtr = static_cast<char>(*special);
            } else {
                *outPtr = kUnmappableByte;
                if (detail::IsHighSurrogate(c) && inLeft >= 2 * sizeof(char16_t)) {
                    char16_t next = 0;
                    std::memcpy(&next, in + sizeof(char16_t), sizeof next);
                    if (detail::IsLowSurrogate(next)) {
                        units = 2;  // one "?" for the whole pair
                    }
                }
            }
            ++outPtr;
            --outLeft;
            in += units * sizeof(char16_t);
            inLeft -= units * sizeof(char16_t);
            cd.Reset();
        }
        out.resize(static_cast<std::size_t>(outPtr - out.data()));
        return n - inLeft / sizeof(char16_t);
    }
};

Encoder::Encoder() : impl_(std::make_unique<Impl>()) {}
Encoder::~Encoder() = default;

void Encoder::Feed(std::u16string_view text, std::string& out) {
    if (text.empty()) {
        return;
    }
    if (!impl_->pending.empty()) {
        std::u16string joined = impl_->pending;
        joined += text.front();
        impl_->pending.clear();
        const std::size_t used = impl_->Run(joined.data(), joined.size(), out, false);
        text.remove_prefix(used - 1);
    }
    const std::size_t used = impl_->Run(text.data(), text.size(), out, false);
    impl_->pending.assign(text.substr(used));
}

void Encoder::Finish(std::string& out) {
    if (!impl_->pending.empty()) {
        impl_->Run(impl_->pending.data(), impl_->pending.size(), out, true);
        impl_->pending.clear();
    }
}

}  // namespace qb::cp932
