// Code page 932 through the Win32 API. Windows defines the code page, so only the
// replacement characters and the chunk edges need handling here.

#include <windows.h>

#include <stdexcept>

#include "encoding/cp932.h"
#include "encoding/cp932_special.h"

namespace qb::cp932 {

namespace {
constexpr UINT kCodePage = 932;

bool IsLead(unsigned char b) { return IsDBCSLeadByteEx(kCodePage, b) != FALSE; }
bool IsTrail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

void DecodeUnit(const char* p, int n, std::u16string& out) {
    wchar_t buffer[2];
    const int got = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, p, n, buffer, 2);
    if (got == 1) {
        out.push_back(static_cast<char16_t>(buffer[0]));
    } else {
        out.push_back(kBadByteChar);
    }
}
}  // namespace

struct Decoder::Impl {
    std::string pending;
};

Decoder::Decoder() : impl_(std::make_unique<Impl>()) {}
Decoder::~Decoder() = default;

void Decoder::Feed(std::string_view bytes, std::u16string& out) {
    std::string data = impl_->pending;
    data.append(bytes);
    impl_->pending.clear();
    std::size_t i = 0;
    while (i < data.size()) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (const auto special = detail::SpecialByteToChar(b)) {
            out.push_back(*special);
            ++i;
        } else if (IsLead(b)) {
            if (i + 1 == data.size()) {
                impl_->pending.assign(1, data[i]);
                return;
            }
            if (IsTrail(static_cast<unsigned char>(data[i + 1]))) {
                wchar_t buffer[2];
                if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, data.data() + i, 2, buffer, 2) == 1) {
                    out.push_back(static_cast<char16_t>(buffer[0]));
                    i += 2;
                    continue;
                }
            }
            out.push_back(kBadByteChar);
            ++i;
        } else {
            DecodeUnit(data.data() + i, 1, out);
            ++i;
        }
    }
}

void Decoder::Finish(std::u16string& out) {
    if (!impl_->pending.empty()) {
        out.push_back(kBadByteChar);
        impl_->pending.clear();
    }
}

struct Encoder::Impl {
    std::u16string pending;
};

Encoder::Encoder() : impl_(std::make_unique<Impl>()) {}
Encoder::~Encoder() = default;

void Encoder::Feed(std::u16string_view text, std::string& out) {
    std::u16string data = impl_->pending;
    data.append(text);
    impl_->pending.clear();
    std::size_t i = 0;
    while (i < data.size()) {
        const char16_t c = data[i];
        if (const auto special = detail::SpecialCharToByte(c)) {
            out.push_back(static_cast<char>(*special));
            ++i;
            continue;
        }
        if (detail::IsHighSurrogate(c)) {
            if (i + 1 == data.size()) {
                impl_->pending.assign(1, c);
                return;
            }
            out.push_back(kUnmappableByte);
            i += detail::IsLowSurrogate(data[i + 1]) ? 2 : 1;
            continue;
        }
        char buffer[2];
        BOOL usedDefault = FALSE;
        const wchar_t wc = static_cast<wchar_t>(c);
        const int got = WideCharToMultiByte(kCodePage, 0, &wc, 1, buffer, 2, "?", &usedDefault);
        if (got <= 0) {
            out.push_back(kUnmappableByte);
        } else {
            out.append(buffer, static_cast<std::size_t>(got));
        }
        ++i;
    }
}

void Encoder::Finish(std::string& out) {
    if (!impl_->pending.empty()) {
        out.push_back(kUnmappableByte);
        impl_->pending.clear();
    }
}

}  // namespace qb::cp932
