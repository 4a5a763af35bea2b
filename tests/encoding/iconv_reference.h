#pragma once
// glibc's own converter, the independent reference of the code page 932 and EUC-JP
// checks (Linux only).

#include <iconv.h>

#include <cstddef>
#include <string>

namespace qb::test {

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (Usable()) {
            iconv_close(cd_);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    [[nodiscard]] bool Usable() const {
        return cd_ != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr): iconv_open failure value
    }

    // The whole input converted (at most 16 bytes), or false when iconv refuses it.
    bool Convert(const void* in, std::size_t size, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = static_cast<char*>(const_cast<void*>(in));  // iconv takes a non-const pointer
        std::size_t inLeft = size;
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
            return false;
        }
        out.assign(buffer, sizeof buffer - outLeft);
        return true;
    }

private:
    iconv_t cd_;
};

}  // namespace qb::test
