#include "store/Profile.h"

#include "store/FileUtil.h"

#include <cerrno>
#include <climits>

namespace lumo {

namespace {

constexpr size_t kListValueLimit = 32764;
constexpr size_t kListElementLimit = 255;
constexpr size_t kIntegerBuffer = 32;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

// "[name]" -> name; nullopt for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// "key=value" -> key; nullopt for comments and lines without "=".
std::optional<std::string_view> KeyName(std::string_view line) {
    std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[')
        return std::nullopt;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(0, eq));
}

std::string_view ValueOf(std::string_view line) {
    std::string_view v = Trim(line.substr(line.find('=') + 1));
    // Like the platform's profile functions: one pair of enclosing quotes is dropped.
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

// A value must stay on its line: a line break in it would split the file's structure.
std::string_view OneLine(std::string_view v) {
    size_t cut = v.find_first_of("\r\n");
    return cut == std::string_view::npos ? v : v.substr(0, cut);
}

// The text that goes after "=": a value that reading would change (blanks around it, or
// a pair of enclosing quotes) is put inside double quotes, which reading takes off again,
// so every value reads back as it was written.
std::string StoredValue(std::string_view v) {
    const bool blanks = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()));
    const bool quoted =
        v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    if (blanks || quoted)
        return "\"" + std::string(v) + "\"";
    return std::string(v);
}

} // namespace

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    size_t pos = 0;
    // CR LF, LF and a CR alone each end a line, as for the platform's profile functions; a
    // value can then never hold a line break that the writer would have to drop.
    while (pos < text.size()) {
        const size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            doc.lines_.emplace_back(text.substr(pos));
            break;
        }
        doc.lines_.emplace_back(text.substr(pos, end - pos));
        pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const auto& l : lines_) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
    bool inSection = false;
    bool seenSection = false;
    for (const auto& line : lines_) {
        if (auto s = SectionName(line)) {
            if (seenSection)
                return std::nullopt; // only the first section of that name counts
            inSection = EqualNoCase(*s, section);
            seenSection = inSection;
            continue;
        }
        if (!inSection)
            continue;
        if (auto k = KeyName(line); k && EqualNoCase(*k, key))
            return std::string(ValueOf(line));
    }
    return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    value = OneLine(value);
    long sectionLine = -1;
    long lastKeyLine = -1;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::string& line = lines_[i];
        if (auto s = SectionName(line)) {
            if (sectionLine >= 0)
                break; // end of the first section of that name
            if (EqualNoCase(*s, section))
                sectionLine = static_cast<long>(i);
            continue;
        }
        if (sectionLine < 0)
            continue;
        if (auto k = KeyName(line)) {
            if (EqualNoCase(*k, key)) {
                // Replaced in place; the key keeps the spelling the file has.
                lines_[i] = std::string(*k) + "=" + StoredValue(value);
                return;
            }
            lastKeyLine = static_cast<long>(i);
        }
    }
    std::string newLine = std::string(key) + "=" + StoredValue(value);
    if (sectionLine < 0) {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::move(newLine));
        return;
    }
    long after = lastKeyLine >= 0 ? lastKeyLine : sectionLine;
    lines_.insert(lines_.begin() + after + 1, std::move(newLine));
}

std::optional<IniDocument> ProfileStore::load() const {
    if (batch_)
        return batch_;
    if (file_.empty())
        return std::nullopt;
    auto data = ReadWholeFile(file_);
    if (!data)
        return IniDocument{};
    return IniDocument::Parse(*data);
}

bool ProfileStore::store(const IniDocument& doc) {
    if (file_.empty())
        return false;
    return WriteFileAtomically(file_, doc.Serialize()) == 0;
}

std::string ProfileStore::ReadString(std::string_view section, std::string_view key,
                                     std::string_view def, size_t bufferSize) const {
    std::string result(def);
    if (batch_) {
        if (auto v = batch_->get(section, key))
            result = *v;
    } else if (auto doc = load()) {
        if (auto v = doc->get(section, key))
            result = *v;
    }
    if (result.size() > bufferSize)
        result.resize(bufferSize);
    return result;
}

bool ProfileStore::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
    if (file_.empty())
        return false;
    if (batch_) {
        batch_->set(section, key, value);
        return !batchFailed_;
    }
    int err = 0;
    auto data = ReadWholeFile(file_, &err);
    // A file that exists but cannot be read is never replaced by a fresh one.
    if (!data && err != 2)
        return false;
    IniDocument doc = data ? IniDocument::Parse(*data) : IniDocument{};
    doc.set(section, key, value);
    return store(doc);
}

int32_t ProfileInteger(std::string_view value, int32_t def) {
    if (value.empty())
        return def;
    auto isNumChar = [](char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+'; };
    size_t i = 0;
    while (i < value.size() && !isNumChar(value[i]))
        ++i;
    size_t j = i;
    while (j < value.size() && isNumChar(value[j]))
        ++j;
    std::string_view num = value.substr(i, j - i);
    // Decimal conversion that stops at the first character it cannot use; the digits
    // read up to there count. Values beyond the 32-bit range are clamped.
    size_t k = 0;
    bool negative = false;
    if (k < num.size() && (num[k] == '-' || num[k] == '+')) {
        negative = num[k] == '-';
        ++k;
    }
    long long v = 0;
    for (; k < num.size() && num[k] >= '0' && num[k] <= '9'; ++k) {
        v = v * 10 + (num[k] - '0');
        if (v > static_cast<long long>(INT32_MAX) + 1)
            v = static_cast<long long>(INT32_MAX) + 1;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX)
        v = INT32_MAX;
    return static_cast<int32_t>(v);
}

std::vector<std::string> SplitListValue(std::string_view value) {
    std::vector<std::string> elements;
    if (value.size() > kListValueLimit)
        value = value.substr(0, kListValueLimit);
    size_t pos = 0;
    while (pos < value.size()) {
        if (value[pos] == ',') {
            elements.emplace_back();
            ++pos;
            continue;
        }
        size_t comma = value.find(',', pos);
        size_t end = comma == std::string_view::npos ? value.size() : comma;
        elements.emplace_back(value.substr(pos, std::min(end - pos, kListElementLimit)));
        pos = comma == std::string_view::npos ? value.size() : comma + 1;
    }
    return elements;
}

int32_t ProfileStore::ReadInteger(std::string_view section, std::string_view key,
                                  int32_t def) const {
    return ProfileInteger(ReadString(section, key, "", kIntegerBuffer), def);
}

std::string ProfileStore::ReadListString(std::string_view section, std::string_view key, int index,
                                         std::string_view def, size_t bufferSize) const {
    auto elements = SplitListValue(ReadString(section, key, "", kListValueLimit));
    std::string result(def);
    if (index >= 0 && static_cast<size_t>(index) < elements.size())
        result = elements[static_cast<size_t>(index)];
    if (result.size() > bufferSize)
        result.resize(bufferSize);
    return result;
}

int32_t ProfileStore::ReadListInteger(std::string_view section, std::string_view key, int index,
                                      int32_t def) const {
    auto elements = SplitListValue(ReadString(section, key, "", kListValueLimit));
    if (index < 0 || static_cast<size_t>(index) >= elements.size())
        return def;
    std::string e = elements[static_cast<size_t>(index)];
    if (e.size() > kIntegerBuffer)
        e.resize(kIntegerBuffer);
    return ProfileInteger(e, def);
}

bool ProfileStore::WriteListString(std::string_view section, std::string_view key, int index,
                                   std::string_view value) {
    if (index < 0 || file_.empty())
        return false;
    auto elements = SplitListValue(ReadString(section, key, "", kListValueLimit));
    if (elements.size() < static_cast<size_t>(index) + 1)
        elements.resize(static_cast<size_t>(index) + 1);
    elements[static_cast<size_t>(index)] = std::string(value);
    std::string joined;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (i)
            joined += ',';
        joined += elements[i];
    }
    return WriteString(section, key, joined);
}

bool ProfileStore::WriteListInteger(std::string_view section, std::string_view key, int index,
                                    int32_t number) {
    return WriteListString(section, key, index, std::to_string(number));
}

void ProfileStore::BeginBatch() {
    batch_.reset();
    batchFailed_ = false;
    if (file_.empty()) {
        batchFailed_ = true;
        batch_ = IniDocument{};
        return;
    }
    int err = 0;
    auto data = ReadWholeFile(file_, &err);
    if (!data && err != 2)
        batchFailed_ = true; // never replace a file we could not read
    batch_ = data ? IniDocument::Parse(*data) : IniDocument{};
}

bool ProfileStore::CommitBatch() {
    if (!batch_)
        return false;
    IniDocument doc = std::move(*batch_);
    batch_.reset();
    if (batchFailed_)
        return false;
    return store(doc);
}

void ProfileStore::CancelBatch() {
    batch_.reset();
    batchFailed_ = false;
}

} // namespace lumo
