#include <iconv.h>
#include <sys/wait.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "cli_platform.h"
#include "support/test_support.h"

namespace qbtest {

namespace {

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Glibc's own converter, as an oracle for the EUC-JP output of JIS X 0208 text.
std::string Iconv(const std::string& bytes, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));  // NOLINT(performance-no-int-to-ptr): iconv's failure value
    std::string out(bytes.size() * 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    EXPECT_NE(iconv(cd, &in, &inLeft, &outPtr, &outLeft), static_cast<std::size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

Result RunCli(const std::filesystem::path& cwd, const std::vector<std::string>& args) {
    const auto outFile = cwd / ".stdout";
    const auto errFile = cwd / ".stderr";
    std::string command = "cd " + Quote(cwd.string()) + " && " + Quote(QB_EXPORT_BINARY);
    for (const auto& arg : args) {
        command += " " + Quote(arg);
    }
    command += " >" + Quote(outFile.string()) + " 2>" + Quote(errFile.string());
    const int status = std::system(command.c_str());
    Result result;
    result.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadBytes(outFile);
    result.err = ReadBytes(errFile);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return result;
}

std::string InEncoding(const std::string& sjis, const std::string& encoding) {
    if (encoding == "utf-8") {
        return Iconv(sjis, "CP932", "UTF-8");
    }
    if (encoding == "euc-jp") {
        return Iconv(sjis, "CP932", "EUC-JP");
    }
    return sjis;
}

}  // namespace qbtest
