// libFuzzer target for the INI engine, which reads
// project files, the catalogue text, price lists, language files and the
// release page. Any bytes are parsed and checked against a plain reference
// model of the grammar; the written form must match the model byte for byte
// and read back to the same content; then a script drawn from the same bytes
// looks names up, writes, deletes and erases, in the image and in the model,
// and the two must still agree.

#include "Cp1252.h"
#include "FuzzSupport.h"
#include "IniFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <QStringList>

#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>

using namespace pipeloop;
using namespace pipeloop::fuzz;

namespace
{

// --- The reference model: the grammar written out plainly ----------------------

std::string fold(std::string name)
{
    for (char& c : name) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            c = static_cast<char>(b + 0x20);
        else if (b == 0x8A || b == 0x8C || b == 0x8E)
            c = static_cast<char>(b + 0x10);
        else if (b == 0x9F)
            c = static_cast<char>(0xFF);
    }
    return name;
}

std::string trim(const std::string& text)
{
    size_t b = 0;
    size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 0x20)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20)
        --e;
    return text.substr(b, e - b);
}

// Names and values as the image stores what the API gives it.
std::string encode(const QString& text)
{
    std::string bytes = EncodeCp1252(text).toStdString();
    for (char& c : bytes)
        if (c == '\r' || c == '\n')
            c = ' ';
    return bytes;
}

QString decode(const std::string& bytes)
{
    return DecodeCp1252(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

struct ModelLine {
    std::string key; // the whole text of a line without "="
    std::string value;
    bool isKey = true;
};

struct ModelSection {
    std::string name;
    std::list<ModelLine> lines;
    std::unordered_map<std::string, std::list<ModelLine>::iterator> keys;
};

struct Model {
    std::list<ModelSection> sections;
    std::unordered_map<std::string, std::list<ModelSection>::iterator> byName;

    ModelSection* find(const std::string& name)
    {
        const auto it = byName.find(fold(name));
        return it == byName.end() ? nullptr : &*it->second;
    }
    ModelLine* find(const std::string& section, const std::string& key)
    {
        ModelSection* s = find(section);
        if (!s)
            return nullptr;
        const auto it = s->keys.find(fold(key));
        return it == s->keys.end() ? nullptr : &*it->second;
    }
    ModelSection& section(const std::string& name)
    {
        if (ModelSection* s = find(name))
            return *s;
        sections.push_back(ModelSection{name, {}, {}});
        byName[fold(name)] = std::prev(sections.end());
        return sections.back();
    }
    // Sets a key where it stands, or appends it.
    void set(ModelSection& s, const std::string& key, const std::string& value)
    {
        const auto it = s.keys.find(fold(key));
        if (it != s.keys.end()) {
            it->second->value = value;
            return;
        }
        s.lines.push_back(ModelLine{key, value, true});
        s.keys[fold(key)] = std::prev(s.lines.end());
    }
    void erase(const std::string& name)
    {
        const auto it = byName.find(fold(name));
        if (it == byName.end())
            return;
        sections.erase(it->second);
        byName.erase(it);
    }
    void remove(const std::string& section, const std::string& key)
    {
        ModelSection* s = find(section);
        if (!s)
            return;
        const auto it = s->keys.find(fold(key));
        if (it == s->keys.end())
            return;
        s->lines.erase(it->second);
        s->keys.erase(it);
    }

    static Model parse(const std::string& text)
    {
        Model model;
        ModelSection* current = nullptr;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find_first_of("\r\n", start);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = trim(text.substr(start, end - start));
            start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
            if (line.empty() || line[0] == ';')
                continue;
            if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
                const std::string name = trim(line.substr(1, line.size() - 2));
                current = &model.section(name);
                current->lines.clear(); // the last occurrence replaces the earlier
                current->keys.clear();
                continue;
            }
            if (!current)
                continue;
            const size_t eq = line.find('=');
            if (eq == std::string::npos)
                current->lines.push_back(ModelLine{line, {}, false});
            else
                model.set(*current, trim(line.substr(0, eq)), trim(line.substr(eq + 1)));
        }
        return model;
    }

    std::string write() const
    {
        std::string out;
        for (const ModelSection& s : sections) {
            out += "[" + s.name + "]\r\n";
            for (const ModelLine& l : s.lines)
                out += l.isKey ? l.key + "=" + l.value + "\r\n" : l.key + "\r\n";
            out += "\r\n";
        }
        return out;
    }
};

std::optional<int32_t> modelInteger(const std::string& v)
{
    const bool hex = v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X');
    const size_t from = hex ? 2 : (!v.empty() && (v[0] == '+' || v[0] == '-')) ? 1 : 0;
    if (from == v.size())
        return std::nullopt;
    for (size_t i = from; i < v.size(); ++i)
        if (!(hex ? std::isxdigit(static_cast<unsigned char>(v[i]))
                  : std::isdigit(static_cast<unsigned char>(v[i]))))
            return std::nullopt;
    int64_t number = 0;
    const auto [end, error] =
        std::from_chars(v.data() + from, v.data() + v.size(), number, hex ? 16 : 10);
    if (error != std::errc() || end != v.data() + v.size())
        return std::nullopt;
    if (!hex && v[0] == '-')
        number = -number;
    if (number < INT32_MIN || number > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(number);
}

// --- Comparing the image with the model --------------------------------------------

void expectSame(const IniFile& ini, const Model& model)
{
    const QStringList sections = ini.sectionNames();
    check(sections.size() == qsizetype(model.sections.size()));
    auto it = model.sections.begin();
    for (const QString& section : sections) {
        check(section == decode(it->name));
        check(ini.sectionExists(section));
        const QStringList keys = ini.keyNames(section);
        qsizetype k = 0;
        for (const ModelLine& line : it->lines) {
            if (!line.isKey)
                continue;
            check(k < keys.size() && keys[k] == decode(line.key));
            const std::optional<QString> value = ini.value(section, keys[k]);
            check(value && *value == decode(line.value));
            const std::optional<int32_t> number = modelInteger(line.value);
            check(ini.readInteger(section, keys[k], -1) == number.value_or(-1));
            check(ini.readBool(section, keys[k], true) == (number ? *number != 0 : true));
            ++k;
        }
        check(k == keys.size());
        ++it;
    }
    check(ini.toBytes().toStdString() == model.write());
}

void expectStableRoundTrip(const IniFile& ini)
{
    const QByteArray written = ini.toBytes();
    const IniFile again = IniFile::fromBytes(written);
    check(again.toBytes() == written);
    check(again.sectionNames() == ini.sectionNames());
    for (const QString& section : ini.sectionNames()) {
        check(again.keyNames(section) == ini.keyNames(section));
        for (const QString& key : ini.keyNames(section))
            check(again.value(section, key) == ini.value(section, key));
    }
}

// A name for the script: mostly one that exists, in another case, or a new one.
QString pickName(FuzzedDataProvider& input, const QStringList& existing)
{
    const int choice = input.ConsumeIntegralInRange(0, 3);
    if (choice < 3 && !existing.isEmpty()) {
        const QString& name =
            existing[input.ConsumeIntegralInRange<qsizetype>(0, existing.size() - 1)];
        return choice == 0 ? name : choice == 1 ? name.toUpper() : name.toLower();
    }
    const std::string bytes = input.ConsumeRandomLengthString(12);
    return input.ConsumeBool() ? decode(bytes)
                               : QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    IniFile ini = IniFile::fromBytes(QByteArrayView(text.data(), qsizetype(text.size())));
    Model model = Model::parse(text);
    expectSame(ini, model);
    expectStableRoundTrip(ini);

    // A script from the same bytes (read from their end).
    FuzzedDataProvider input(data, size);
    const int steps = input.ConsumeIntegralInRange(0, 24);
    for (int step = 0; step < steps && input.remaining_bytes() > 0; ++step) {
        const QString section = pickName(input, ini.sectionNames());
        const QString key = pickName(input, ini.keyNames(section));
        const std::string s = encode(section);
        const std::string k = encode(key);
        switch (input.ConsumeIntegralInRange(0, 5)) {
        case 0: { // look up
            const ModelLine* line = model.find(s, k);
            check(ini.sectionExists(section) == (model.find(s) != nullptr));
            check(ini.valueExists(section, key) == (line != nullptr));
            check(ini.readString(section, key, QStringLiteral("\x01")) ==
                  (line ? decode(line->value) : QStringLiteral("\x01")));
            break;
        }
        case 1:
        case 2: { // write
            const std::string bytes = input.ConsumeRandomLengthString(40);
            const QString value = decode(bytes);
            ini.writeString(section, key, value);
            model.set(model.section(s), k, encode(value));
            break;
        }
        case 3: { // write an integer
            const int64_t number = input.ConsumeIntegral<int64_t>();
            ini.writeInteger(section, key, number);
            model.set(model.section(s), k, std::to_string(number));
            break;
        }
        case 4:
            ini.deleteKey(section, key);
            model.remove(s, k);
            break;
        case 5:
            ini.eraseSection(section);
            model.erase(s);
            break;
        }
    }
    expectSame(ini, model);
    // What the script wrote need not read back as written (a key may hold "=",
    // begin with ";" or end in a blank), but it reads back as the grammar says.
    const QByteArray written = ini.toBytes();
    expectSame(IniFile::fromBytes(written), Model::parse(written.toStdString()));

    IniFile copy = ini;
    copy.clear();
    check(copy.toBytes().isEmpty());
    check(ini.toBytes() == written);
    return 0;
}
