#include "PartObject.h"

#include "IniFile.h"
#include "LocaleInfo.h"
#include "Rounding.h"
#include "UiServices.h"
#include "Units.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace pipeloop::catalogue
{

QString ColourName(int colourIndex)
{
    static const std::array<QString, 3> names = {QStringLiteral("BLUE"), QStringLiteral("GREY"),
                                                 QStringLiteral("GREEN")};
    return colourIndex >= 0 && colourIndex < 3 ? names[static_cast<size_t>(colourIndex)]
                                               : QString();
}

QString ThreadName(int threadIndex)
{
    static const std::array<QString, 3> names = {QStringLiteral("BSP"), QStringLiteral("NPT"),
                                                 QStringLiteral("METRIC")};
    return threadIndex >= 0 && threadIndex < 3 ? names[static_cast<size_t>(threadIndex)]
                                               : QString();
}

float ToFloat(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest)
        return std::numeric_limits<float>::infinity();
    if (value < -largest)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::optional<float> ParseCatalogueSize(const QString& text)
{
    if (const std::optional<float> size = ParseSizeText(text))
        return size;
    // A full stop or a comma the locale does not use: read it as the locale's separator.
    const QChar separator = LocaleInfo::decimalSeparator();
    QString swapped = text;
    for (QChar& c : swapped)
        if (c == u'.' || c == u',')
            c = separator;
    if (swapped == text)
        return std::nullopt;
    return ParseSizeText(swapped);
}

bool SameSize(float a, float b)
{
    return RoundToInt64(static_cast<double>(a) * 1000.0) ==
           RoundToInt64(static_cast<double>(b) * 1000.0);
}

const QList<float>& SmallSizes()
{
    static const QList<float> sizes = {6.35f, 9.25f, 12.7f};
    return sizes;
}

QString ImageNameOf(const QString& partNumber)
{
    const qsizetype at = partNumber.indexOf(QStringLiteral("-110"));
    if (at >= 0)
        return partNumber.left(at + 4);
    qsizetype length = 0;
    while (length < partNumber.size()) {
        const char16_t c = partNumber.at(length).unicode();
        const bool asciiAlnum =
            (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
        if (!asciiAlnum)
            break;
        ++length;
    }
    return partNumber.left(length);
}

QString PartClassName(PartClass partClass)
{
    switch (partClass) {
    case PartClass::PartObject:
        return QStringLiteral("TPartObject");
    case PartClass::PipePartObject:
        return QStringLiteral("TPipePartObject");
    case PartClass::Pipe:
        return QStringLiteral("TPipe");
    case PartClass::Hose:
        return QStringLiteral("THose");
    case PartClass::EndCap:
        return QStringLiteral("TEndCap");
    case PartClass::PipeTee:
        return QStringLiteral("TPipeTee");
    case PartClass::PipeConnector:
        return QStringLiteral("TPipeConnector");
    case PartClass::Adapter:
        return QStringLiteral("TAdapter");
    case PartClass::Manifold:
        return QStringLiteral("TManifold");
    case PartClass::Valve:
        return QStringLiteral("TValve");
    case PartClass::PipeClip:
        return QStringLiteral("TPipeClip");
    case PartClass::Outlet:
        return QStringLiteral("TOutlet");
    case PartClass::OutletTee:
        return QStringLiteral("TOutletTee");
    case PartClass::SaddleOutlet:
        return QStringLiteral("TSaddleOutlet");
    case PartClass::FemaleOutlet:
        return QStringLiteral("TFemaleOutlet");
    case PartClass::Reducer:
        return QStringLiteral("TReducer");
    case PartClass::Coupling:
        return QStringLiteral("TCoupling");
    }
    return QString();
}

namespace
{
PartClass ParentOf(PartClass partClass)
{
    switch (partClass) {
    case PartClass::PartObject:
    case PartClass::PipePartObject:
    case PartClass::Reducer:
    case PartClass::Coupling:
        return PartClass::PartObject;
    case PartClass::OutletTee:
    case PartClass::SaddleOutlet:
    case PartClass::FemaleOutlet:
        return PartClass::Outlet;
    default:
        return PartClass::PipePartObject;
    }
}
} // namespace

bool IsKindOf(PartClass actual, PartClass wanted)
{
    for (PartClass c = actual;; c = ParentOf(c)) {
        if (c == wanted)
            return true;
        if (c == PartClass::PartObject)
            return false;
    }
}

std::unique_ptr<TPartObject> CreatePart(PartClass partClass, const QString& partKey)
{
    switch (partClass) {
    case PartClass::PartObject:
        return std::make_unique<TPartObject>(partKey);
    case PartClass::PipePartObject:
        return std::make_unique<TPipePartObject>(partKey);
    case PartClass::Pipe:
        return std::make_unique<TPipe>(partKey);
    case PartClass::Hose:
        return std::make_unique<THose>(partKey);
    case PartClass::EndCap:
        return std::make_unique<TEndCap>(partKey);
    case PartClass::PipeTee:
        return std::make_unique<TPipeTee>(partKey);
    case PartClass::PipeConnector:
        return std::make_unique<TPipeConnector>(partKey);
    case PartClass::Adapter:
        return std::make_unique<TAdapter>(partKey);
    case PartClass::Manifold:
        return std::make_unique<TManifold>(partKey);
    case PartClass::Valve:
        return std::make_unique<TValve>(partKey);
    case PartClass::PipeClip:
        return std::make_unique<TPipeClip>(partKey);
    case PartClass::Outlet:
        return std::make_unique<TOutlet>(partKey);
    case PartClass::OutletTee:
        return std::make_unique<TOutletTee>(partKey);
    case PartClass::SaddleOutlet:
        return std::make_unique<TSaddleOutlet>(partKey);
    case PartClass::FemaleOutlet:
        return std::make_unique<TFemaleOutlet>(partKey);
    case PartClass::Reducer:
        return std::make_unique<TReducer>(partKey);
    case PartClass::Coupling:
        return std::make_unique<TCoupling>(partKey);
    }
    return nullptr;
}

namespace
{

// Searches `copy` for `word` (case-sensitively); when found, deletes that
// first occurrence and answers true.
bool TakeWord(QString& copy, QStringView word)
{
    const qsizetype at = copy.indexOf(word);
    if (at < 0)
        return false;
    copy.remove(at, word.size());
    return true;
}

bool IsSeparator(QChar c)
{
    // the rules let words be separated by anything; blanks (and controls),
    // commas, semicolons and slashes left alone between known words are not
    // unknown words.
    return c.unicode() <= u' ' || c == u',' || c == u';' || c == u'/';
}

// What is left after the known words, without the separators around it;
// empty when only separators were left.
QString Remainder(const QString& copy)
{
    qsizetype first = 0;
    qsizetype last = copy.size();
    while (first < last && IsSeparator(copy.at(first)))
        ++first;
    while (last > first && IsSeparator(copy.at(last - 1)))
        --last;
    return copy.mid(first, last - first);
}

struct AttrWord {
    QStringView word;
    Attr flag;
};

} // namespace

AttrSet ScanAttributeWords(const QString& partKey, const QString& text)
{
    AttrSet set = 0;
    QString copy = text;
    // At most one colour: BLUE, else GREY, else GREEN.
    if (TakeWord(copy, u"BLUE"))
        set |= Flag(Attr::Blue);
    else if (TakeWord(copy, u"GREY"))
        set |= Flag(Attr::Grey);
    else if (TakeWord(copy, u"GREEN"))
        set |= Flag(Attr::Green);
    // TECHNOPOLYMERIC is taken before POLYMER so that it does not also count as POLYMER.
    static const AttrWord words[] = {
        {u"ELBOW", Attr::Elbow},
        {u"QUICK", Attr::Quick},
        {u"SADDLE", Attr::Saddle},
        {u"BALL", Attr::Ball},
        {u"BUTTERFLY", Attr::Butterfly},
        {u"STEEL", Attr::Steel},
        {u"TECHNOPOLYMERIC", Attr::Technopolymeric},
        {u"PLASTIC", Attr::Plastic},
        {u"POLYMER", Attr::Polymer},
        {u"ALUMINIUM", Attr::Aluminium},
        {u"STAINLESS", Attr::Stainless},
        {u"RECOIL", Attr::Recoil},
        {u"BUSH", Attr::Bush},
    };
    for (const AttrWord& word : words)
        if (TakeWord(copy, word.word))
            set |= Flag(word.flag);
    const QString rest = Remainder(copy);
    if (!rest.isEmpty())
        Ui().warn(partKey + QStringLiteral(" unknown ATR : \r\n") + rest);
    return set;
}

EndSet ScanEndWords(const QString& partKey, const QString& text, int endNumber)
{
    EndSet set = 0;
    QString copy = text;
    if (TakeWord(copy, u"FEMALE"))
        set |= Flag(EndAttr::Female);
    else if (TakeWord(copy, u"MALE"))
        set |= Flag(EndAttr::Male);
    if (TakeWord(copy, u"BSP"))
        set |= Flag(EndAttr::Bsp);
    if (TakeWord(copy, u"NPT"))
        set |= Flag(EndAttr::Npt);
    const QString rest = Remainder(copy);
    if (!rest.isEmpty())
        Ui().warn(partKey + QStringLiteral(" unknown AT") + QString::number(endNumber) +
                  QStringLiteral(" : \r\n") + rest);
    return set;
}

QString AttributeWords(AttrSet set)
{
    static const std::array<const char*, 16> names = {
        "BLUE",    "GREY",    "GREEN", "ALUMINIUM", "STAINLESS", "STEEL", "TECHNOPOLYMERIC",
        "PLASTIC", "POLYMER", "BALL",  "BUTTERFLY", "ELBOW",     "QUICK", "RECOIL",
        "BUSH",    "SADDLE"};
    QStringList words;
    for (size_t i = 0; i < names.size(); ++i)
        if (set & (1u << i))
            words.append(QString::fromLatin1(names[i]));
    return words.join(u' ');
}

QString EndWords(EndSet set)
{
    QStringList words;
    if (set & Flag(EndAttr::Male))
        words.append(QStringLiteral("MALE"));
    if (set & Flag(EndAttr::Female))
        words.append(QStringLiteral("FEMALE"));
    if (set & Flag(EndAttr::Bsp))
        words.append(QStringLiteral("BSP"));
    if (set & Flag(EndAttr::Npt))
        words.append(QStringLiteral("NPT"));
    return words.join(u' ');
}

int TPartObject::ColourIndex() const
{
    if (HasAttribute(Attr::Green))
        return ColourGreen;
    if (HasAttribute(Attr::Grey))
        return ColourGrey;
    return ColourBlue;
}

int TPartObject::ThreadOfEnd2() const
{
    if (HasEnd2(EndAttr::Npt))
        return ThreadNpt;
    if (HasEnd2(EndAttr::Bsp))
        return ThreadBsp;
    return ThreadMetric;
}

void TPartObject::Load(const IniFile& catalogue, const QString& catalogueMaker)
{
    const QString& section = m_partKey;
    auto text = [&](QStringView key, const QString& fallback) {
        return catalogue.readString(section, key, fallback);
    };

    m_description = text(u"DSC", QString());
    m_partNumber = text(u"APN", m_partKey);
    m_length = catalogue.readInteger(section, u"LEN", 0);
    m_ports = static_cast<uint8_t>(catalogue.readInteger(section, u"NPO", 0) & 0xFF);
    m_unitsPerPackage = catalogue.readInteger(section, u"UPP", 1);
    m_cataloguePage = catalogue.readInteger(section, u"CPN", 0);
    m_image = text(u"IMG", QString());
    m_catalogueCode = text(u"COD", QString());
    m_endOfLine = catalogue.readBool(section, u"EOL", false);
    m_maker = text(u"MAK", catalogueMaker);

    if (const std::optional<float> size = ParseCatalogueSize(text(u"OD1", QStringLiteral("0"))))
        m_size1 = *size;
    else
        Ui().error(QStringLiteral("Database error reading OD1 for ") + m_partKey);

    if (const std::optional<float> size = ParseCatalogueSize(text(u"OD2", SizeText(m_size1))))
        m_size2 = *size;
    else
        Ui().error(QStringLiteral("Database error reading OD2 for ") + m_partKey);

    m_attributes = ScanAttributeWords(m_partKey, text(u"ATR", QString()));
    m_end1 = ScanEndWords(m_partKey, text(u"AT1", QString()), 1);
    m_end2 = ScanEndWords(m_partKey, text(u"AT2", QString()), 2);

    if (const Parsed<double> angle = ParseReal(text(u"ANG", QStringLiteral("0.0"))))
        m_angle = ToFloat(angle.value());
    else
        Ui().error(QStringLiteral("Database error reading ANG for ") + m_partKey);

    if (const Parsed<Money> price = ParseMoney(text(u"PRC", QStringLiteral("0.0"))))
        m_price = price.value();
    else
        Ui().error(QStringLiteral("Database error reading PRC for ") + m_partKey);
}

} // namespace pipeloop::catalogue
