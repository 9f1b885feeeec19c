#pragma once
// A temporary archive directory per test, and byte builders taken from the file formats.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumo::test {

class TempArchive {
public:
    TempArchive();
    ~TempArchive();
    TempArchive(const TempArchive&) = delete;
    TempArchive& operator=(const TempArchive&) = delete;

    const std::filesystem::path& dir() const { return dir_; }
    std::filesystem::path path(std::string_view name) const { return dir_ / std::string(name); }
    void write(std::string_view name, std::string_view bytes) const; // creates subdirectories
    std::string read(std::string_view name) const;                   // whole file, "" if missing
    bool exists(std::string_view name) const;

private:
    std::filesystem::path dir_;
};

// One 82-byte record built by hand: each key is placed in its 6-byte slot and padded with
// spaces (an empty key gives a slot of a NUL and five spaces), the info text follows at
// offset 48 with a NUL and spaces up to byte 80, byte 81 is the box.
std::string RecordBytes(const std::vector<std::string>& keys, std::string_view info, int box);
// One 120-byte kopfdata.ddb record: eight 15-byte fields, each the value, a NUL and spaces
// (a 15-byte value fills its field without NUL; longer values are cut; missing fields empty).
std::string HeaderRecordBytes(std::vector<std::string> values);
// A keyword file: text LF code LF ... "*" (no entries -> "").
std::string KeywordBytes(const std::vector<std::pair<std::string, std::string>>& entries);

} // namespace lumo::test
