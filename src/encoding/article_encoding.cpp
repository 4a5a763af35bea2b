#include "encoding/article_encoding.h"

#include "common/run_error.h"

namespace qb {

namespace {

// Reads the rest of the file through check, as long as it stays UTF-8, and puts in back.
void CheckRest(std::istream& in, Utf8Check& check, std::size_t chunkSize) {
    const std::istream::pos_type back = in.tellg();
    if (back == std::istream::pos_type(-1)) {
        throw RunError(err::kDeviceIo, "article cannot be read twice to recognise its encoding");
    }
    std::string buffer(chunkSize, '\0');
    while (check.Valid() && in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        check.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount())));
    }
    if (in.bad()) {
        throw RunError(err::kDeviceIo, "read failed");
    }
    in.clear();
    in.seekg(back);
    if (!in) {
        throw RunError(err::kDeviceIo, "article cannot be read twice to recognise its encoding");
    }
}

}  // namespace

ArticleStart RecogniseArticle(ArticleEncoding request, std::string_view head, std::istream* in, std::size_t chunkSize) {
    if (request == ArticleEncoding::ShiftJis) {
        return {TextEncoding::Cp932, 0};
    }
    if (head.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        return {TextEncoding::Utf8, kUtf8Mark.size()};
    }
    if (request == ArticleEncoding::Utf8) {
        return {TextEncoding::Utf8, 0};
    }
    Utf8Check check;
    if (check.Feed(head) && in != nullptr) {
        CheckRest(*in, check, chunkSize == 0 ? 1 : chunkSize);
    }
    return {check.Finish() && check.SawMultiByte() ? TextEncoding::Utf8 : TextEncoding::Cp932, 0};
}

}  // namespace qb
