// Readers of what the exports write, made from the formats' descriptions alone (no code shared with
// the writers), for the core tests: they check every size, CRC and checksum they meet.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ZipRead {
    struct Item {
        std::string name, bytes;
    };
    std::vector<Item> items;  // in the central directory's order
    std::string error;        // the first thing wrong, or ""
};
// A whole zip, each entry read through its local header and its data inflated or copied. The
// entries must follow each other with nothing between them: a byte no entry holds is part of a
// file that should have gone. ZIP64 records are not read: no core test writes a zip that needs
// them (ZipWriterTest and Python's zipfile check those); a value marked as held in one reads as an error.
ZipRead ReadZip(std::string_view zip);

struct Uz2Read {
    std::string bytes;
    std::string error;
};
Uz2Read ReadUz2(std::string_view uz2);
