#include "PartsDatabase.h"

#include "DateSerial.h"
#include "ErrorReport.h"
#include "IniFile.h"
#include "LocaleInfo.h"
#include "ModelTypes.h"
#include "Rounding.h"
#include "UiServices.h"
#include "Units.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QRect>
#include <QSize>

#include <algorithm>
#include <cmath>

namespace pipeloop::catalogue
{

namespace
{

// Trim as the catalogue's INI rules trim: blanks and control characters.
QString TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= u' ')
        ++first;
    while (last > first && text.at(last - 1).unicode() <= u' ')
        --last;
    return text.mid(first, last - first);
}

QString LengthText(int32_t length)
{
    return QString::number(length) + QStringLiteral("mm");
}

// Appends text + line feed unless the list already holds that line.
void AppendLine(QString& result, QStringList& seen, const QString& text)
{
    if (seen.contains(text))
        return;
    seen.append(text);
    result += text + u'\n';
}

struct TypeName {
    const char16_t* typ;
    PartClass partClass;
};

constexpr TypeName PartTypes[] = {
    {u"PIPE", PartClass::Pipe},
    {u"HOSE", PartClass::Hose},
    {u"ENDCAP", PartClass::EndCap},
    {u"REDUCER", PartClass::Reducer},
    {u"PIPE-CLIP", PartClass::PipeClip},
    {u"MANIFOLD", PartClass::Manifold},
    {u"TEE", PartClass::PipeTee},
    {u"OUTLET-TEE", PartClass::OutletTee},
    {u"FEMALE-OUTLET", PartClass::FemaleOutlet},
    {u"SADDLE-OUTLET", PartClass::SaddleOutlet},
    {u"VALVE", PartClass::Valve},
    {u"ADAPTER", PartClass::Adapter},
    {u"CONNECTOR", PartClass::PipeConnector},
    {u"COUPLING", PartClass::Coupling},
};

std::optional<PartClass> ClassOfType(const QString& typ)
{
    for (const TypeName& entry : PartTypes)
        if (typ == QStringView(entry.typ)) // case-sensitive, as the rules say
            return entry.partClass;
    return std::nullopt;
}

QDateTime Midnight(QDate date)
{
    return QDateTime(date, QTime(0, 0));
}

QDateTime UnsetDate()
{
    return Midnight(SerialEpoch());
}

// "Price list error reading PRC for " + the section, and the line it was read from.
QString PriceErrorText(const IniFile& list, const QByteArray& bytes, const QString& section)
{
    QString text = QStringLiteral("Price list error reading PRC for ") + section;
    if (const qsizetype line = IniLineNumber(bytes, section, u"PRC"))
        text += QStringLiteral("\r\nLine %1: PRC=%2")
                    .arg(line)
                    .arg(list.readString(section, u"PRC", QString()));
    return text;
}

} // namespace

QString DefaultOrderAddress()
{
    return QStringLiteral("orders@zavoza.example");
}

QStringList SplitSpaceList(const QString& text)
{
    QStringList words;
    QString rest = TrimBlanks(text);
    while (!rest.isEmpty()) {
        const qsizetype space = rest.indexOf(u' ');
        if (space < 0) {
            words.append(rest);
            break;
        }
        words.append(rest.left(space));
        rest = TrimBlanks(rest.mid(space + 1));
    }
    return words;
}

void TPackage::Load(const IniFile& catalogue)
{
    const QString& section = m_name;
    const QString parts = catalogue.readString(section, u"PTS", QString());
    m_description = catalogue.readString(section, u"DSC", QString());
    m_image = catalogue.readString(section, u"IMG", QString());
    const QString symbols = catalogue.readString(section, u"SYM", QString());
    m_fem = catalogue.readBool(section, u"FEM", false);
    m_length = catalogue.readInteger(section, u"LEN", 0);

    if (const auto size =
            ParseCatalogueSize(catalogue.readString(section, u"CON", QStringLiteral("0"))))
        m_connectionSize = *size;
    else
        Ui().error(QStringLiteral("Database error reading CON for package ") + m_name);
    if (m_length == 0)
        Ui().error(QStringLiteral("Database error reading LEN for package ") + m_name);
    m_hoseSize = 0;
    if (m_fem) {
        if (const auto size =
                ParseCatalogueSize(catalogue.readString(section, u"HOS", QStringLiteral("0"))))
            m_hoseSize = *size;
        else
            Ui().error(QStringLiteral("Database error reading hose size for package ") + m_name);
    }
    if (parts.isEmpty())
        Ui().error(QStringLiteral("Parts missing in database for package ") + m_name);
    else
        m_parts = SplitSpaceList(parts);
    if (symbols.isEmpty())
        Ui().error(QStringLiteral("Symbols missing in database for package ") + m_name);
    else
        m_symbols = SplitSpaceList(symbols);
}

QRect FitPicture(const QSize& box, const QSize& picture)
{
    if (picture.width() <= 0 || picture.height() <= 0)
        return QRect();
    const double scale = std::min(static_cast<double>(box.width()) / picture.width(),
                                  static_cast<double>(box.height()) / picture.height());
    const int width = Round(picture.width() * scale);
    const int height = Round(picture.height() * scale);
    // Offsets are half the spare room, rounded toward zero.
    const int left = (box.width() - width) / 2;
    const int top = (box.height() - height) / 2;
    return QRect(left + 3, top + 3, width - 6, height - 6);
}

TPartsDatabase::TPartsDatabase() : m_expiryDate(UnsetDate()) {}

TPartsDatabase::~TPartsDatabase() = default;

void TPartsDatabase::Reset()
{
    m_cab.Clear();
    m_parts.clear();
    m_packages.clear();
    m_firstOfKey.clear();
    m_supplier.clear();
    m_maker.clear();
    m_description.clear();
    m_orderAddress.clear();
    m_expiryDate = UnsetDate();
    m_loaded = false;
    m_hasErrors = false;
    m_priceListLoaded = false; // the prices are the new catalogue's again
    m_cachedPicture = QImage();
    m_cachedIndex = -1;
}

void TPartsDatabase::LoadContainer(const QString& path)
{
    Reset();
    if (!QFile::exists(path)) {
        m_hasErrors = true;
        Ui().warn(QStringLiteral("Parts database not found : ") + path);
        return;
    }
    QByteArray bytes;
    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw CabReadError(file.errorString().toStdString());
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw CabReadError(file.errorString().toStdString());
    } catch (...) {
        m_hasErrors = true;
        Ui().warn(QStringLiteral("Exception loading : ") + path);
        return;
    }
    LoadContainerBytes(bytes, path);
}

void TPartsDatabase::LoadContainerBytes(const QByteArray& file, const QString& path)
{
    Reset();
    try {
        m_cab.LoadBytes(file, path);
        const int index = m_cab.IndexOf(QString::fromLatin1(CatalogueEntryName));
        if (index < 0) {
            m_hasErrors = true;
            Ui().warn(QStringLiteral("PARTS.PLDBI not found in : ") + path);
            return;
        }
        const IniFile catalogue = IniFile::fromBytes(*m_cab.Entry(index));
        ParseCatalogue(catalogue);
        m_loaded = true;
    } catch (...) {
        m_hasErrors = true;
        Ui().warn(QStringLiteral("Exception loading : ") + path);
    }
}

void TPartsDatabase::LoadCatalogueText(const QByteArray& text)
{
    Reset();
    ParseCatalogue(IniFile::fromBytes(text));
    m_loaded = true;
}

void TPartsDatabase::ReadHeader(const IniFile& catalogue, const QString& section)
{
    m_supplier = catalogue.readString(section, u"SUP", QString());
    m_maker = catalogue.readString(section, u"MAK", QString());
    m_description = catalogue.readString(section, u"DSC", QString());
    m_orderAddress = catalogue.readString(section, u"EML", DefaultOrderAddress());
    // EXP is cut by position: day 1-2, month 4-5, year 7-10.
    const QString exp = catalogue.readString(section, u"EXP", QStringLiteral("01-01-2000"));
    const Parsed<int32_t> day = ParseInteger(exp.mid(0, 2));
    const Parsed<int32_t> month = ParseInteger(exp.mid(3, 2));
    const Parsed<int32_t> year = ParseInteger(exp.mid(6, 4));
    QDate date;
    if (day && month && year && year.value() >= 1)
        date = QDate(year.value(), month.value(), day.value());
    if (date.isValid()) {
        m_expiryDate = Midnight(date);
    } else {
        m_expiryDate = UnsetDate();
        Ui().error(QStringLiteral("Invalid database expire date."));
    }
}

void TPartsDatabase::ParseCatalogue(const IniFile& catalogue)
{
    try {
        const QStringList sections = catalogue.sectionNames();
        for (const QString& section : sections) {
            if (section == QStringLiteral("CATALOGUE")) {
                ReadHeader(catalogue, section);
                continue;
            }
            const QString typ = catalogue.readString(section, u"TYP", QString());
            if (typ == QStringLiteral("PACKAGE")) {
                auto package = std::make_unique<TPackage>(section);
                package->Load(catalogue);
                m_packages.push_back(std::move(package));
                continue;
            }
            const std::optional<PartClass> partClass = ClassOfType(typ);
            if (!partClass) {
                m_hasErrors = true;
                if (typ.isEmpty())
                    Ui().error(QStringLiteral("Parts database type missing for ") + section);
                else
                    Ui().error(QStringLiteral("Parts database type ") + typ +
                               QStringLiteral(" unknown for ") + section);
                continue;
            }
            try {
                std::unique_ptr<TPartObject> part = CreatePart(*partClass, section);
                part->Load(catalogue, m_maker);
                m_firstOfKey.insert(section, static_cast<int>(m_parts.size()));
                m_parts.push_back(std::move(part));
            } catch (...) {
                ReportError();
            }
        }
    } catch (...) {
        Ui().warn(QStringLiteral("Exception loading from PARTS.PLDBI"));
    }
}

// --- price lists -------------------------------------------------------------

bool TPartsDatabase::IsPriceListText(QByteArrayView bytes)
{
    const QByteArrayView name(PriceListSection, sizeof(PriceListSection) - 1);
    return bytes.size() >= name.size() + 2 && bytes.at(0) == '[' &&
           bytes.sliced(1, name.size()) == name && bytes.at(name.size() + 1) == ']';
}

bool TPartsDatabase::IsPriceListFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return IsPriceListText(file.read(static_cast<qint64>(sizeof(PriceListSection)) + 1));
}

PriceListLoad TPartsDatabase::LoadPriceList(const QString& path)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    return LoadPriceListBytes(bytes, path);
}

PriceListLoad TPartsDatabase::LoadPriceListBytes(const QByteArray& bytes, const QString& path)
{
    const IniFile list = IniFile::fromBytes(bytes);
    const QString header = QString::fromLatin1(PriceListSection);
    const QString symbol = LocaleInfo::current().currencySymbol;
    const QString currency = list.readString(header, u"Currency", symbol);
    if (currency != symbol) {
        Ui().inform(QStringLiteral("Parts price list : ") + path + QStringLiteral("\r\n\n") +
                    QStringLiteral("Has currency ") + currency + QStringLiteral("\r\n\n") +
                    QStringLiteral("This will not be loaded."));
        return PriceListLoad::OtherCurrency;
    }

    // Every part's price is read before any is set: a list given up half way
    // would leave the parts after the bad line at the catalogue's prices.
    struct PartPrice {
        Money price = 0;
        int32_t units = 1;
    };
    std::vector<PartPrice> prices;
    prices.reserve(m_parts.size());
    for (const std::unique_ptr<TPartObject>& part : m_parts) {
        const QString& key = part->PartKey();
        const QString& number = part->PartNumber();
        PartPrice& read = prices.emplace_back();
        read.units = list.readInteger(key, u"UPP", 0);
        if (read.units == 0)
            read.units = list.readInteger(number, u"UPP", 1);
        if (const Parsed<Money> parsed =
                ParseMoney(list.readString(key, u"PRC", QStringLiteral("0.0")))) {
            read.price = parsed.value();
        } else if (Ui().ask(UiServices::Kind::Warning, PriceErrorText(list, bytes, key),
                            {QStringLiteral("&Ok"), QStringLiteral("&Abort")}) ==
                   QStringLiteral("&Abort")) {
            Ui().error(QStringLiteral("Parts price list : ") + path + QStringLiteral("\r\n\n") +
                       QStringLiteral("This will not be loaded."));
            return PriceListLoad::Abandoned;
        }
        if (read.price <= 0) {
            read.price = 0;
            if (const Parsed<Money> parsed =
                    ParseMoney(list.readString(number, u"PRC", QStringLiteral("0.0"))))
                read.price = parsed.value();
            else
                Ui().warn(PriceErrorText(list, bytes, number));
        }
    }

    m_priceListCurrency = currency;
    m_priceListExpiry = Midnight(QDate(2099, 12, 30));
    if (const std::optional<QString> expires = list.value(header, u"Expires")) {
        if (const Parsed<double> serial = ParseReal(*expires))
            if (const std::optional<QDateTime> at = DateTimeFromSerial(serial.value()))
                m_priceListExpiry = *at;
    }
    for (size_t i = 0; i < m_parts.size(); ++i) {
        m_parts[i]->SetPrice(prices[i].price);
        m_parts[i]->SetUnitsPerPackage(prices[i].units);
    }
    m_priceListLoaded = true;
    return PriceListLoad::Loaded;
}

// --- header and lists ---------------------------------------------------------

const TPartObject* TPartsDatabase::Part(int index) const
{
    return index >= 0 && index < PartCount() ? m_parts[static_cast<size_t>(index)].get() : nullptr;
}

const TPackage* TPartsDatabase::Package(int index) const
{
    return index >= 0 && index < PackageCount() ? m_packages[static_cast<size_t>(index)].get()
                                                : nullptr;
}

QString TPartsDatabase::NextError()
{
    if (m_errors.empty())
        return QStringLiteral("Parts database GetLastError() failed.");
    QString message = std::move(m_errors.front());
    m_errors.pop_front();
    return message;
}

// --- queries by key -------------------------------------------------------------

const TPartObject* TPartsDatabase::PartOfKey(const QString& key) const
{
    const auto found = m_firstOfKey.constFind(key);
    return found == m_firstOfKey.cend() ? nullptr : Part(found.value());
}

const TPartObject* TPartsDatabase::FindPart(const QString& keyOrNumber) const
{
    for (const auto& part : m_parts)
        if (part->PartKey() == keyOrNumber || part->PartNumber() == keyOrNumber)
            return part.get();
    return nullptr;
}

QString TPartsDatabase::PartNumberOf(const QString& key) const
{
    const TPartObject* part = PartOfKey(key);
    return part ? part->PartNumber() : QString();
}

PartDisplay TPartsDatabase::DisplayOf(const QString& key, bool useCodes) const
{
    const TPartObject* part = PartOfKey(key);
    if (!part)
        return {};
    PartDisplay display;
    display.number =
        useCodes && !part->CatalogueCode().isEmpty() ? part->CatalogueCode() : part->PartNumber();
    display.description = part->EndOfLine() ? QStringLiteral("* ") + part->Description() +
                                                  QStringLiteral(" (end of line)")
                                            : part->Description();
    return display;
}

std::optional<PartPrice> TPartsDatabase::PriceOf(const QString& key) const
{
    const TPartObject* part = PartOfKey(key);
    if (!part)
        return std::nullopt;
    return PartPrice{part->Price(), part->UnitsPerPackage()};
}

CataloguePage TPartsDatabase::CataloguePageOf(const QString& key) const
{
    const TPartObject* part = PartOfKey(key);
    if (!part)
        return {};
    return {part->CataloguePage(), part->CatalogueCode()};
}

int TPartsDatabase::WidestPartNumber(const QStringList& keys) const
{
    qsizetype widest = 0;
    for (const QString& key : keys)
        widest = std::max(widest, PartNumberOf(key).size());
    return static_cast<int>(widest);
}

const TPackage* TPartsDatabase::FindPackage(const QString& name) const
{
    for (const auto& package : m_packages)
        if (package->Name() == name)
            return package.get();
    return nullptr;
}

// --- selection ----------------------------------------------------------------

template <typename Class, typename Predicate>
const TPartObject* TPartsDatabase::First(Predicate predicate) const
{
    for (const auto& part : m_parts)
        if (part->IsA<Class>() && predicate(*part))
            return part.get();
    return nullptr;
}

const TPartObject* TPartsDatabase::Coupling(EndSet end1, EndSet end2, float size)
{
    const TPartObject* found = First<TCoupling>([&](const TPartObject& p) {
        return SameSize(p.Size1(), size) && p.End1Within(end1) && p.End2Within(end2);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts coupling not found : ") + SizeText(size));
    return found;
}

const TPartObject* TPartsDatabase::Hose(int32_t length, bool recoil, float size)
{
    const TPartObject* found = nullptr;
    if (recoil) {
        found = First<THose>([&](const TPartObject& p) {
            return p.HasAttribute(Attr::Recoil) && SameSize(p.Size1(), size) &&
                   p.Length() == length;
        });
    } else {
        const TPartObject* last = nullptr;
        for (const auto& part : m_parts) {
            if (!part->IsA<THose>() || part->HasAttribute(Attr::Recoil) ||
                !SameSize(part->Size1(), size))
                continue;
            if (part->Length() >= length) {
                found = part.get();
                break;
            }
            last = part.get();
        }
        if (!found)
            found = last;
    }
    if (!found)
        Queue(Sup() + QStringLiteral(" parts hose not found : ") + SizeText(size) +
              QStringLiteral(" x ") + LengthText(length));
    return found;
}

const TPartObject* TPartsDatabase::Pipe(int colour, int32_t length, float size)
{
    const TPartObject* found = First<TPipe>([&](const TPartObject& p) {
        return SameSize(p.Size1(), size) && p.ColourIndex() == colour && p.Length() == length;
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts pipe size not found : ") + LengthText(length) +
              QStringLiteral(" x ") + SizeText(size));
    return found;
}

const TPartObject* TPartsDatabase::ReducerBush(float big, float small)
{
    const TPartObject* found = First<TReducer>([&](const TPartObject& p) {
        return p.HasAttribute(Attr::Bush) && SameSize(p.Size1(), big) && SameSize(p.Size2(), small);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts reducer bush not found : ") + SizeText(big) + u'-' +
              SizeText(small));
    return found;
}

const TPartObject* TPartsDatabase::PipeReducer(float big, float small)
{
    const TPartObject* found = First<TReducer>([&](const TPartObject& p) {
        return !p.HasAttribute(Attr::Bush) && SameSize(p.Size1(), big) &&
               SameSize(p.Size2(), small);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts pipe reducer not found : ") + SizeText(big) + u'-' +
              SizeText(small));
    return found;
}

const TPartObject* TPartsDatabase::EndCap(AttrSet attributes, float size)
{
    const TPartObject* found = First<TEndCap>([&](const TPartObject& p) {
        return SameSize(p.Size1(), size) && p.AttributesWithin(attributes);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts end cap not found : ") + SizeText(size));
    return found;
}

const TPartObject* TPartsDatabase::OutletTee(float run, float outlet)
{
    const TPartObject* found = First<TOutletTee>([&](const TPartObject& p) {
        return SameSize(p.Size1(), run) && SameSize(p.Size2(), outlet);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts outlet tee not found : ") + SizeText(run) + u'-' +
              SizeText(outlet));
    return found;
}

const TPartObject* TPartsDatabase::SaddleOutlet(float run, float outlet)
{
    const TPartObject* found = First<TSaddleOutlet>([&](const TPartObject& p) {
        return SameSize(p.Size1(), run) && SameSize(p.Size2(), outlet);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts saddle outlet not found : ") + SizeText(run) + u'-' +
              SizeText(outlet));
    return found;
}

const TPartObject* TPartsDatabase::FemaleOutlet(int thread, AttrSet attributes, float run,
                                                float outlet)
{
    const TPartObject* found = First<TFemaleOutlet>([&](const TPartObject& p) {
        if (!SameSize(p.Size1(), run) || !SameSize(p.Size2(), outlet) ||
            !p.AttributesWithin(attributes))
            return false;
        switch (thread) {
        case ThreadBsp:
            return p.HasEnd2(EndAttr::Bsp);
        case ThreadNpt:
            return p.HasEnd2(EndAttr::Npt);
        default:
            return !p.HasEnd2(EndAttr::Bsp) && !p.HasEnd2(EndAttr::Npt);
        }
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts female outlet not found : ") + SizeText(run) + u'-' +
              SizeText(outlet) + u' ' + ThreadName(thread));
    return found;
}

const TPartObject* TPartsDatabase::Elbow(AttrSet attributes, float size)
{
    const TPartObject* found = First<TPipeConnector>([&](const TPartObject& p) {
        return p.HasAttribute(Attr::Elbow) && SameSize(p.Size1(), size) && p.Angle() == 90.0f &&
               p.AttributesWithin(attributes);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts elbow not found : ") + SizeText(size));
    return found;
}

const TPartObject* TPartsDatabase::Elbow45(AttrSet attributes, float size)
{
    const TPartObject* found = First<TPipeConnector>([&](const TPartObject& p) {
        return p.HasAttribute(Attr::Elbow) && SameSize(p.Size1(), size) &&
               (p.Angle() == 45.0f || p.Angle() == 135.0f) && p.AttributesWithin(attributes);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts 45 degree elbow not found : ") + SizeText(size));
    return found;
}

const TPartObject* TPartsDatabase::Connector(AttrSet attributes, float size)
{
    const TPartObject* found = First<TPipeConnector>([&](const TPartObject& p) {
        return !p.HasAttribute(Attr::Elbow) && SameSize(p.Size1(), size) &&
               p.AttributesWithin(attributes);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts pipe connector not found : ") + SizeText(size));
    return found;
}

const TPartObject* TPartsDatabase::EqualTee(AttrSet attributes, float size)
{
    const TPartObject* found = First<TPipeTee>([&](const TPartObject& p) {
        return SameSize(p.Size1(), size) && SameSize(p.Size2(), size) &&
               p.AttributesWithin(attributes);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts equal tee not found : ") + SizeText(size));
    return found;
}

const TPartObject* TPartsDatabase::BallValve(EndSet end2, float size)
{
    const TPartObject* found = First<TValve>([&](const TPartObject& p) {
        return p.HasAttribute(Attr::Ball) && SameSize(p.Size1(), size) && p.End2Within(end2);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts ball valve not found : ") + SizeText(size));
    return found;
}

const TPartObject* TPartsDatabase::ButterflyValve(float size)
{
    const TPartObject* found = First<TValve>([&](const TPartObject& p) {
        return p.HasAttribute(Attr::Butterfly) && SameSize(p.Size1(), size);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts butterfly valve not found : ") + SizeText(size));
    return found;
}

const TPartObject* TPartsDatabase::Manifold(int ports, int thread, const QString& nameFilter,
                                            float size)
{
    const TPartObject* found = First<TManifold>([&](const TPartObject& p) {
        return SameSize(p.Size1(), size) && p.Ports() == ports && p.ThreadOfEnd2() == thread &&
               (nameFilter.isEmpty() || p.PartKey().contains(nameFilter));
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts manifold not found : ") + SizeText(size) + u' ' +
              QString::number(ports) + QStringLiteral(" ports."));
    return found;
}

const TPartObject* TPartsDatabase::Adapter(EndSet end2, float size2, float size)
{
    const TPartObject* found = First<TAdapter>([&](const TPartObject& p) {
        return SameSize(p.Size1(), size) && (size2 == 0.0f || p.Size2() == size2) &&
               p.End2Within(end2);
    });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts adapter not found : ") + SizeText(size) + u'-' +
              SizeText(size2));
    return found;
}

const TPartObject* TPartsDatabase::PipeClip(Attr flag, float size)
{
    const TPartObject* found = First<TPipeClip>(
        [&](const TPartObject& p) { return SameSize(p.Size1(), size) && p.HasAttribute(flag); });
    if (!found)
        Queue(Sup() + QStringLiteral(" parts pipe clip not found : ") + SizeText(size));
    return found;
}

// --- size lists ---------------------------------------------------------------

void TPartsDatabase::PipeSizes(QStringList& list, bool all) const
{
    list.clear();
    if (all) {
        list = FullPipeSizeTexts();
        return;
    }
    for (const auto& part : m_parts) {
        if (!part->IsA<TPipe>())
            continue;
        const QString text = SizeText(part->Size1());
        if (!list.contains(text))
            list.append(text);
    }
    if (list.isEmpty()) {
        Ui().inform(QStringLiteral("No pipe items found in database, all sizes will be listed."));
        list = FullPipeSizeTexts();
    }
}

QString TPartsDatabase::PipeSizeText() const
{
    if (!m_loaded)
        return DropSizeText();
    QString result;
    QStringList seen;
    for (const auto& part : m_parts)
        if (part->IsA<TPipe>())
            AppendLine(result, seen, SizeText(part->Size1()));
    return result;
}

bool TPartsDatabase::SizeSupported(float size) const
{
    if (!m_loaded)
        return true;
    for (const auto& part : m_parts)
        if (part->IsA<TPipe>() && SameSize(part->Size1(), size))
            return true;
    const QString answer = Ui().ask(UiServices::Kind::Warning,
                                    m_supplier + QStringLiteral("part: pipe size not supported."),
                                    {QStringLiteral("&Ignore"), QStringLiteral("&Cancel")});
    return answer == QStringLiteral("&Ignore");
}

namespace
{
template <typename Class, typename Extra>
void OutletSizesOf(const std::vector<std::unique_ptr<TPartObject>>& parts, QString& result,
                   float run, Extra extra)
{
    QString sizes;
    QStringList seen;
    for (const auto& part : parts)
        if (part->IsA<Class>() && (run == 0.0f || SameSize(part->Size1(), run)) && extra(*part))
            AppendLine(sizes, seen, SizeText(part->Size2()));
    result = sizes;
}
} // namespace

void TPartsDatabase::SaddleOutletSizes(QString& result, float run) const
{
    if (m_loaded)
        OutletSizesOf<TSaddleOutlet>(m_parts, result, run, [](const TPartObject&) { return true; });
}

void TPartsDatabase::OutletTeeSizes(QString& result, float run) const
{
    if (m_loaded)
        OutletSizesOf<TOutletTee>(m_parts, result, run, [](const TPartObject&) { return true; });
}

void TPartsDatabase::FemaleOutletSizes(QString& result, AttrSet attributes, float run) const
{
    if (m_loaded)
        OutletSizesOf<TFemaleOutlet>(m_parts, result, run, [&](const TPartObject& p) {
            return p.AttributesWithin(attributes);
        });
}

QString TPartsDatabase::OutletSizesByStyle(int style, float pipeSize, AttrSet femaleQuick) const
{
    if (PartCount() == 0)
        return BuiltInOutletSizes(style);
    QString sizes;
    switch (DropStyle(style)) {
    case DropStyle::Female:
        FemaleOutletSizes(sizes, 0, pipeSize);
        break;
    case DropStyle::FemaleQuick:
        FemaleOutletSizes(sizes, femaleQuick, pipeSize);
        break;
    case DropStyle::FemaleSaddle:
        FemaleOutletSizes(sizes, Flag(Attr::Saddle), pipeSize);
        break;
    case DropStyle::Tee:
        OutletTeeSizes(sizes, pipeSize);
        break;
    case DropStyle::Saddle:
    case DropStyle::Quick:
        SaddleOutletSizes(sizes, pipeSize);
        break;
    }
    return sizes;
}

QString TPartsDatabase::DropOutletSizes(int style, float pipeSize) const
{
    return OutletSizesByStyle(style, pipeSize, 0);
}

QString TPartsDatabase::EditOutletSizes(int style, float pipeSize) const
{
    return OutletSizesByStyle(style, pipeSize, Flag(Attr::Quick));
}

void TPartsDatabase::AdaptersFor(QList<PartChoice>& list, EndAttr end2Flag, float size) const
{
    for (const auto& part : m_parts)
        if (part->IsA<TAdapter>() && SameSize(part->Size1(), size) && part->HasEnd2(end2Flag))
            list.append({part->PartNumber(), part.get()});
}

void TPartsDatabase::ManifoldsWith(QList<PartChoice>& list, int ports) const
{
    for (const auto& part : m_parts)
        if (part->IsA<TManifold>() && part->Ports() == ports)
            list.append({part->PartNumber(), part.get()});
}

void TPartsDatabase::ValvesOfSize(QList<PartChoice>& list, float size) const
{
    for (const auto& part : m_parts)
        if (part->IsA<TValve>() && part->Size1() == size)
            list.append({part->PartNumber(), part.get()});
}

// --- pictures -----------------------------------------------------------------

bool TPartsDatabase::HasEntry(const QString& name) const
{
    return m_cab.IndexOf(name) >= 0;
}

QString TPartsDatabase::PictureEntryFor(const QString& name) const
{
    const QString candidates[] = {name, name + QStringLiteral(".JPG"),
                                  ImageNameOf(name) + QStringLiteral(".JPG")};
    for (const QString& candidate : candidates) {
        const int index = m_cab.IndexOf(candidate);
        if (index >= 0)
            return m_cab.Names().at(index);
    }
    return QString();
}

const QImage* TPartsDatabase::DecodedEntry(int index)
{
    const QByteArray* data = m_cab.Entry(index);
    if (!data)
        return nullptr;
    if (index != m_cachedIndex) {
        m_cachedPicture = QImage::fromData(*data, "JPEG");
        m_cachedIndex = index;
        ++m_decodeCount;
    }
    return m_cachedPicture.isNull() ? nullptr : &m_cachedPicture;
}

QImage TPartsDatabase::AssignPicture(const QString& name)
{
    const QImage* picture = DecodedEntry(m_cab.IndexOf(name));
    return picture ? *picture : QImage();
}

bool TPartsDatabase::DrawPicture(const QString& name, QPainter& painter, const QRect& box)
{
    const QImage* picture = DecodedEntry(m_cab.IndexOf(name));
    if (!picture)
        return false;
    const QRect target = FitPicture(box.size(), picture->size()).translated(box.topLeft());
    if (target.isValid())
        painter.drawImage(target, *picture);
    return true;
}

QString TPartsDatabase::ShowPicture(const QString& name, QPainter& painter, const QRect& box)
{
    painter.fillRect(box, Qt::white);
    // A black frame 3 pixels wide just inside the box.
    const int frame = std::min({3, box.width(), box.height()});
    painter.fillRect(QRect(box.left(), box.top(), box.width(), frame), Qt::black);
    painter.fillRect(QRect(box.left(), box.bottom() - frame + 1, box.width(), frame), Qt::black);
    painter.fillRect(QRect(box.left(), box.top(), frame, box.height()), Qt::black);
    painter.fillRect(QRect(box.right() - frame + 1, box.top(), frame, box.height()), Qt::black);

    const QString entry = PictureEntryFor(name);
    if (!entry.isEmpty() && DrawPicture(entry, painter, box))
        return entry;
    // Text needs the fonts of a GUI application; without one the box stays framed.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QFont font = painter.font();
        font.setBold(true);
        painter.save();
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("NO IMAGE"));
        painter.restore();
    }
    return QString();
}

std::optional<QString> CatalogueDestinationOf(const TPartsDatabase& database, const QString& key)
{
    // A package name is no part: page 0 without a code.
    const CataloguePage page = database.CataloguePageOf(key);
    if (page.page == -1)
        return std::nullopt;
    if (!page.code.isEmpty())
        return QStringLiteral("search=") + page.code;
    if (page.page != 0)
        return QStringLiteral("page=") + QString::number(page.page);
    return ImageNameOf(key);
}

void LoadConfiguredPriceList(TPartsDatabase& database, QString& path)
{
    if (path.isEmpty())
        return;
    QString text;
    if (!QFileInfo::exists(path)) {
        text = QStringLiteral("Cannot find parts price list file : ") + path;
    } else if (TPartsDatabase::IsPriceListFile(path)) {
        database.LoadPriceList(path);
        return;
    } else {
        text = QStringLiteral("Parts price list file invalid :\r\n") + path;
    }
    const QString answer =
        Ui().ask(UiServices::Kind::Warning, text,
                 {QStringLiteral("&Ignore"), QStringLiteral("&Remove"), QStringLiteral("&Help")},
                 QStringLiteral("PriceListFileErrorHelp"));
    if (answer == QStringLiteral("&Remove"))
        path.clear();
}

} // namespace pipeloop::catalogue
