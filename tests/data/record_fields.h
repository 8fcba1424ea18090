#pragma once
// Tables of a record's registered members in file order, for the tests that
// check a record's layout member by member: a body whose member i holds
// i + 1 is written by hand and read back through each member.

#include <cstdint>
#include <cstring>
#include <vector>

#include "file_bytes.h"

namespace test {

// One member in file order: the first version that holds it, its size, how
// to read it back, and its inheritance group (-1 none). Elements of an
// array after the first continue the array's member block.
template <class T> struct Field {
    int from;
    int size;
    double (*get)(const T&);
    int group = -1;
    bool continuesBlock = false;
};

// Writes the member blocks of a body of the given version: member i (counted
// over every member of the table) holds i + 1.
template <class T> void PutFields(FileBytes& b, const std::vector<Field<T>>& fields, int version)
{
    int blocks = 0;
    for (const auto& f : fields)
        blocks += f.from <= version && !f.continuesBlock;
    b.i32(blocks);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto& f = fields[i];
        if (f.from > version) continue;
        const auto value = static_cast<std::int32_t>(i + 1);
        if (f.size == 1) b.u8(static_cast<std::uint8_t>(value));
        if (f.size == 2) b.i16(static_cast<std::int16_t>(value));
        if (f.size == 4) b.i32(value);
        if (f.size == 8) {
            const double d = value;
            std::uint8_t raw[8];
            std::memcpy(raw, &d, 8);
            b.raw({raw, raw + 8});
        }
    }
}

} // namespace test

// A member of record class T: its name, size, first version and group.
#define RECORD_FIELD(T, m, size, from, group)                                                      \
    test::Field<T>                                                                                 \
    {                                                                                              \
        from, size, [](const T& r) { return double(r.m); }, group                                  \
    }
#define RECORD_FIELD_NEXT(T, m, size)                                                              \
    test::Field<T>                                                                                 \
    {                                                                                              \
        0, size, [](const T& r) { return double(r.m); }, -1, true                                  \
    }
