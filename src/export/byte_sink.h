#pragma once
// Where the import file's bytes go as they are made: one file, or the parts of a file
// cut for the importers' limits.

#include <string_view>

namespace qb {

// Takes bytes in order, in pieces of any size. Put throws RunError for a file error.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Put(std::string_view bytes) = 0;
};

}  // namespace qb
