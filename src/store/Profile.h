#pragma once
// INI files as the platform's profile functions treat them: sections and keys match
// without regard to case, values are replaced in place, every other line (unknown
// sections, keys, comments, junk) is kept in order, a missing section or key is
// created, lines end with CR LF. Rewrites go through a temporary file and a rename.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// Duplicate keys in a section: reads and writes use the first one, later ones are kept
// untouched. Duplicate sections: only the first section of a name is used.
// bufferSize arguments are the number of characters kept (longer values are cut).
class IniDocument {
public:
    static IniDocument Parse(std::string_view text);
    std::string Serialize() const; // CR LF line ends

    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    void set(std::string_view section, std::string_view key, std::string_view value);

private:
    std::vector<std::string> lines_;
};

class ProfileStore {
public:
    void SetIniFile(std::filesystem::path file) { file_ = std::move(file); }
    const std::filesystem::path& iniFile() const { return file_; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def,
                           size_t bufferSize) const;
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;

    std::string ReadListString(std::string_view section, std::string_view key, int index,
                               std::string_view def, size_t bufferSize) const;
    int32_t ReadListInteger(std::string_view section, std::string_view key, int index,
                            int32_t def) const;
    bool WriteListString(std::string_view section, std::string_view key, int index,
                         std::string_view value);
    bool WriteListInteger(std::string_view section, std::string_view key, int index,
                          int32_t number);

    // Batch mode: between BeginBatch and CommitBatch writes change an in-memory copy,
    // and CommitBatch writes the file once (true on success).
    void BeginBatch();
    bool CommitBatch();
    // Ends a batch without writing (a batch also serves as a read cache: one load of
    // the file for many reads).
    void CancelBatch();

private:
    std::filesystem::path file_;
    std::optional<IniDocument> batch_;
    bool batchFailed_ = false;
    std::optional<IniDocument> load() const;
    bool store(const IniDocument& doc);
};

// The conversion rule of ReadInteger applied to a value text (empty -> def).
int32_t ProfileInteger(std::string_view value, int32_t def);
// Splits a list value at commas ("a,,b" -> a, "", b; trailing comma adds nothing).
std::vector<std::string> SplitListValue(std::string_view value);

} // namespace lumo
