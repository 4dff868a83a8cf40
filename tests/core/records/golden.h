// Golden archive bytes of the calculation records, written from the layout tables by
// tests/data/core/records/gen_golden.py.
#pragma once

#include "core/point.h"
#include "platform/archive.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace wv::test {

inline std::string GoldenPath(const std::string& name) {
    return std::string(WAVORA_TEST_DATA) + "/core/records/" + name;
}

inline std::vector<std::uint8_t> Golden(const std::string& name) {
    std::vector<std::uint8_t> bytes;
    std::string err;
    EXPECT_TRUE(ReadWholeFile(GoldenPath(name), bytes, &err)) << err;
    return bytes;
}

// Bytes of a record stored through its Serialize.
template <class T>
std::vector<std::uint8_t> Stored(T& record, unsigned version) {
    CArchive ar;
    record.Serialize(ar, version);
    return ar.Bytes();
}

// Loads a record from bytes; the whole input must be taken.
template <class T>
void Load(T& record, std::vector<std::uint8_t> bytes, unsigned version) {
    CArchive ar(std::move(bytes));
    record.Serialize(ar, version);
    EXPECT_TRUE(ar.AtEnd()) << "bytes left over: " << ar.Remaining();
}

// A closed axis-parallel rectangle, as an area selection draws it.
inline CPointList Rect(double x0, double y0, double x1, double y1) {
    CPointList l(CPointD(x0, y0));
    l.AddTail(CPointD(x1, y0));
    l.AddTail(CPointD(x1, y1));
    l.AddTail(CPointD(x0, y1));
    l.AddTail(CPointD(x0, y0));
    return l;
}

// Overwrites the 4-byte int at a byte offset (to make a bad file from a good one).
inline void PutInt(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t v) {
    std::memcpy(bytes.data() + offset, &v, 4);
}

}  // namespace wv::test
