#pragma once
// Crafted ZIP archives for the extraction tests, written with minizip's zip.c.

#include <cstdint>
#include <string>
#include <vector>

struct ZipEntry {
    std::string name;       // "/" separated; a folder entry ends in "/"
    std::string data;
    int method = 8;         // 0 stored, 8 deflated
    uint32_t dosDateTime = 0x58B15408;  // 2024-05-17 10:32:16
    bool wrongCrc = false;  // stored with a CRC-32 that does not match data
};

// The archive's bytes; empty when zip.c failed.
std::string BuildZip(const std::vector<ZipEntry>& entries);

// Rewrites the compression method of the entry name in its local and central
// headers; false when the entry is not found in both.
bool PatchZipMethod(std::string* zip, const std::string& name, uint16_t method);

// A DOS date/time from its parts (local time).
uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second);

// One entry of an archive as read back: name, uncompressed bytes, DOS date/time.
struct ArchiveEntry {
    std::string name;
    std::string data;
    unsigned long dosDate = 0;
};

// The entries of the product archive the setup program carries
// (PHOTARIUM_PAYLOAD_ZIP), in archive order; empty when it cannot be read.
std::vector<ArchiveEntry> ProductEntries();

// An entry name with "\" for "/".
std::wstring WindowsName(const std::string& name);
