#include "zip_builder.h"

#include <windows.h>

#include <unzip.h>
#include <zip.h>
#include <zlib.h>

#include "wine_test_util.h"

namespace {

uint16_t Read16(const std::string& s, size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(s[at]) |
                                 (static_cast<unsigned char>(s[at + 1]) << 8));
}

}  // namespace

uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second)
{
    uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
    uint32_t time = static_cast<uint32_t>((hour << 11) | (minute << 5) | (second / 2));
    return (date << 16) | time;
}

std::string BuildZip(const std::vector<ZipEntry>& entries)
{
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"zb", 0, path);
    char narrow[MAX_PATH * 3];
    WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, sizeof(narrow), nullptr, nullptr);

    zipFile zip = zipOpen64(narrow, APPEND_STATUS_CREATE);
    if (!zip)
        return {};
    bool ok = true;
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info = {};
        info.dosDate = entry.dosDateTime;
        const auto size = static_cast<unsigned>(entry.data.size());
        if (entry.wrongCrc) {
            // raw stored entry: zip.c writes the CRC it is given
            ok = ok && zipOpenNewFileInZip2(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0,
                                            nullptr, 0, 0, 1) == ZIP_OK;
            ok = ok && zipWriteInFileInZip(zip, entry.data.data(), size) == ZIP_OK;
            uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(entry.data.data()), size);
            ok = ok && zipCloseFileInZipRaw(zip, size, crc ^ 0xA5A5A5A5u) == ZIP_OK;
            continue;
        }
        ok = ok && zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0,
                                       nullptr, entry.method, entry.method ? 6 : 0) == ZIP_OK;
        if (size > 0)
            ok = ok && zipWriteInFileInZip(zip, entry.data.data(), size) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    std::string bytes = ok ? ReadFileBytes(path) : std::string();
    DeleteFileW(path);
    return bytes;
}

bool PatchZipMethod(std::string* zip, const std::string& name, uint16_t method)
{
    int patched = 0;
    struct Header {
        const char* signature;
        size_t nameLengthAt, nameAt, methodAt;
    };
    const Header headers[] = {{"PK\x03\x04", 26, 30, 8}, {"PK\x01\x02", 28, 46, 10}};
    for (const Header& header : headers) {
        for (size_t pos = zip->find(header.signature, 0, 4); pos != std::string::npos;
             pos = zip->find(header.signature, pos + 4, 4)) {
            if (pos + header.nameAt > zip->size())
                break;
            size_t length = Read16(*zip, pos + header.nameLengthAt);
            if (zip->compare(pos + header.nameAt, length, name) != 0 || length != name.size())
                continue;
            (*zip)[pos + header.methodAt] = static_cast<char>(method & 0xff);
            (*zip)[pos + header.methodAt + 1] = static_cast<char>(method >> 8);
            ++patched;
        }
    }
    return patched == 2;
}

std::vector<ArchiveEntry> ProductEntries()
{
    std::vector<ArchiveEntry> entries;
    const char* path = std::getenv("PHOTARIUM_PAYLOAD_ZIP");
    if (!path)
        return entries;
    std::wstring windowsPath = UnixToWindowsPath(path);
    std::string narrow(windowsPath.begin(), windowsPath.end());
    unzFile zip = unzOpen64(narrow.c_str());
    if (!zip)
        return entries;
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        char name[520];
        unz_file_info64 info;
        unzGetCurrentFileInfo64(zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0);
        ArchiveEntry entry{name, "", info.dosDate};
        unzOpenCurrentFile(zip);
        char buffer[65536];
        int got;
        while ((got = unzReadCurrentFile(zip, buffer, sizeof(buffer))) > 0)
            entry.data.append(buffer, static_cast<size_t>(got));
        unzCloseCurrentFile(zip);
        entries.push_back(entry);
    }
    unzClose(zip);
    return entries;
}

std::wstring WindowsName(const std::string& name)
{
    std::wstring out;
    for (char c : name)
        out += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}
