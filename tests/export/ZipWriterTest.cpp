// The zip format's records as the writer lays them out: ZIP64 fields exactly where a value does
// not fit, and entry times. Whole archives are read back in ExportTest and by Python's zipfile.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "export/ZipWriter.h"

TEST(ZipWriter, HeadersCarryZip64FieldsExactlyWhereAValueDoesNotFit) {
    const std::uint64_t big = 5ull << 30, fits = 1000;
    // Size, compressed size and offset; the ZIP64 values of the central header, in the format's order.
    const std::tuple<std::uint64_t, std::uint64_t, std::uint64_t, std::vector<std::uint64_t>> cases[] = {
        {fits, fits, fits, {}},
        {big, fits, fits, {big}},              // deflated below 4 GiB: its compressed size fits
        {big, big - 1, fits, {big, big - 1}},
        {fits, fits, big, {big}},              // a small file far into a large archive
        {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFE, {0xFFFFFFFF, 0xFFFFFFFF}},  // 0xFFFFFFFF itself only marks
    };
    const auto le = [](const std::string& s, std::size_t at, int size) {
        std::uint64_t v = 0;
        for (int i = size; i-- > 0;) v = v << 8 | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
        return v;
    };
    for (const auto& [size, compressed, offset, zip64] : cases) {
        SCOPED_TRACE(std::to_string(size) + " " + std::to_string(compressed) + " " + std::to_string(offset));
        const ZipEntry e{"Maps/A.ut2", 8, 0, 0, 0, compressed, size, offset};
        const std::string central = ZipCentralHeader(e), local = ZipLocalHeader(e);
        std::vector<std::uint64_t> fields;
        if (le(central, 30, 2) != 0) {
            EXPECT_EQ(le(central, 56, 2), 1u) << "the ZIP64 field's id";
            for (std::size_t at = 60; at < central.size(); at += 8) fields.push_back(le(central, at, 8));
        }
        EXPECT_EQ(fields, zip64);
        EXPECT_EQ(le(central, 6, 2), zip64.empty() ? 20u : 45u) << "version needed";
        EXPECT_EQ(le(central, 20, 4), std::min<std::uint64_t>(compressed, 0xFFFFFFFF));
        EXPECT_EQ(le(central, 42, 4), std::min<std::uint64_t>(offset, 0xFFFFFFFF));
        // The local header holds both sizes in its ZIP64 field, or none.
        const bool localZip64 = size >= 0xFFFFFFFF;
        EXPECT_EQ(local.size(), 30u + 10 + (localZip64 ? 20 : 0));
        if (localZip64) {
            EXPECT_EQ(le(local, 44, 8), size);
            EXPECT_EQ(le(local, 52, 8), compressed);
        } else {
            EXPECT_EQ(le(local, 22, 4), size);
        }
    }
    // End records: 65,535 entries and more are counted in a ZIP64 end record.
    for (const std::uint64_t count : {65534u, 65535u, 70000u}) {
        const std::string end = ZipEndRecords(count, 100, 200);
        EXPECT_EQ(end.size(), count < 65535 ? 22u : 22u + 56 + 20) << count;
        EXPECT_EQ(le(end, end.size() - 12, 2), std::min<std::uint64_t>(count, 0xFFFF)) << count;
        if (count < 65535) continue;
        EXPECT_EQ(le(end, 32, 8), count);
        EXPECT_EQ(le(end, 56 + 8, 8), 300u) << "where the ZIP64 end record is";
    }
}

TEST(ZipWriter, TimesAreTheCachedFilesInUtcHeldToTheYearsTheFormatKnows) {
    const std::pair<std::uint64_t, std::uint32_t> cases[] = {
        {0, 0x00210000},                                                          // 1601: 1980-01-01
        {119600064000000000, 0x00210000},                                         // 1980-01-01 00:00:00
        {133540000000000000, (44u << 9 | 3 << 5 | 4) << 16 | 4 << 11 | 26 << 5 | 20},  // 2024-03-04 04:26:40
        {126227807990000000, (20u << 9 | 12 << 5 | 31) << 16 | 23 << 11 | 59 << 5 | 29},  // 2000-12-31 23:59:59
        {~0ull, (127u << 9 | 12 << 5 | 31) << 16 | 23 << 11 | 59 << 5 | 29},        // beyond 2107
    };
    for (const auto& [filetime, dos] : cases) EXPECT_EQ(DosDateTime(filetime), dos) << filetime;
}
