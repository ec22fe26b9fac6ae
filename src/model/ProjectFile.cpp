#include "ProjectFile.h"

#include "AtomicSave.h"
#include "ErrorReport.h"
#include "IniFile.h"
#include "UiServices.h"
#include "Version.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace pipeloop
{

namespace
{

const QString InfoSection = QStringLiteral("PIPELOOP-FILE-INFO");
const QString ProjectSection = QStringLiteral("Project");
const QString BuildingSection = QStringLiteral("Building");
const QString PipeLoopSection = QStringLiteral("PipeLoop");
const QString NotesSection = QStringLiteral("Notes");

const QString FileVersionKey = QStringLiteral("File_Version");
const QString ProgramVersionKey = QStringLiteral("PipeLoop_Version");
const QString ZoomFactorKey = QStringLiteral("ZoomFactor");
const QString DescriptionKey = QStringLiteral("Description");
const QString CreatedByKey = QStringLiteral("CreatedBy");
const QString CustomerCompanyKey = QStringLiteral("CustomerCompany");
const QString UnitsKey = QStringLiteral("Units");
const QString UseMMKey = QStringLiteral("UseMM");
const QString CompressorHouseKey = QStringLiteral("CompressorHouse");
const QString RoomEWKey = QStringLiteral("RoomEW");
const QString RoomHGKey = QStringLiteral("RoomHG");
const QString RoomNSKey = QStringLiteral("RoomNS");
const QString HeightKey = QStringLiteral("Height");
const QString PipeSizeKey = QStringLiteral("PipeSize");
const QString DefaultOutletSizeKey = QStringLiteral("DefaultOutletSize");
const QString SupplyPressureKey = QStringLiteral("SupplyPressure");
const QString AllowedPressureDropKey = QStringLiteral("AllowedPressureDrop");
const QString PipeColourKey = QStringLiteral("PipeColour");
const QString SymbolsKey = QStringLiteral("Symbols");
const QString SymbolKeyPrefix = QStringLiteral("SYM");
const QString LinesKey = QStringLiteral("Lines");

// The count keys of section PipeLoop are the plural of the section prefix.
QString CountKey(ObjectKind kind)
{
    return SectionPrefix(kind) + u's';
}

QString SectionName(ObjectKind kind, int64_t number)
{
    return SectionPrefix(kind) + QString::number(number);
}

// A failure while writing, described as the error text describes one.
class FileWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

QString WriteErrorText(const QString& reason)
{
    return ErrorText(FileWriteError(reason.toLocal8Bit().toStdString()));
}

QString CannotOverwriteMessage(const QString& path)
{
    return QStringLiteral("Cannot overwrite file : ") + path;
}

QString ProjectWriteMessage(const QString& path, const QString& reason)
{
    return ProblemWritingMessage(path, WriteErrorText(reason));
}

// Whether an existing target can be replaced by a new file: it must be a file
// (or a link to one) that the user may write, in a folder the user may write.
// Root passes the permission tests, and indeed may replace such a file.
bool Replaceable(const QFileInfo& target)
{
    if (!target.exists())
        return !target.isSymLink() || QFileInfo(target.absolutePath()).isWritable();
    if (!target.isFile() || !target.isWritable())
        return false;
    return QFileInfo(target.absolutePath()).isWritable();
}

// ---------------------------------------------------------------- loading

ProjectLoad Failed(const QString& message)
{
    Ui().error(message);
    ProjectLoad load;
    load.Error = message;
    return load;
}

QString DamagedMessage(const QString& fileName, const QString& detail)
{
    return QStringLiteral("The project file is damaged : ") + fileName + QStringLiteral("\r\n") +
           detail;
}

QString LineEndingsMessage(const QString& fileName)
{
    return QStringLiteral("The file's line endings were changed (LF instead of CR LF) by another "
                          "program : ") +
           fileName + QStringLiteral("\r\nSaving the project restores them.");
}

// File_Version: absent means the one version; any other text, readable or
// not, is refused. The refusal or an empty text.
QString CheckVersion(const IniFile& ini)
{
    const Parsed<int32_t> version =
        ini.readParsedInteger(InfoSection, FileVersionKey, ProjectFileVersion);
    if (version && version.value() == ProjectFileVersion)
        return {};
    return VersionMessage(ini.readString(InfoSection, FileVersionKey, QString()));
}

// A count of the file: an absent key counts 0; text that is not a count (7x,
// -1, 7.0, 99999999999) is damage, never 0.
Parsed<int32_t> ReadCount(const IniFile& ini, const QString& section, const QString& key,
                          const QString& fileName)
{
    const Parsed<int32_t> count = ini.readParsedInteger(section, key, 0);
    if (count && count.value() >= 0)
        return count;
    return Parsed<int32_t>::failure(
        DamagedMessage(fileName, QStringLiteral("%1=%2 in section %3 is not a count.")
                                     .arg(key, ini.readString(section, key, QString()), section)));
}

// Counts the items 1..count that present() does not find into filled; false
// as soon as more than MaxDefaultFilledItems are missing in the whole file,
// or more than listLimit in this list. The loop ends after at most (items
// present + MaxDefaultFilledItems + 1) steps, whatever the count.
template <typename Present>
bool WithinBudget(int32_t count, int64_t& filled, int64_t listLimit, Present present)
{
    int64_t missing = 0;
    for (int64_t i = 1; i <= count; ++i)
        if (!present(i) && (++filled > MaxDefaultFilledItems || ++missing > listLimit))
            return false;
    return true;
}

// The kinds in the order in which the design reads them, and in which their
// sections stand in the file.
constexpr std::array<ObjectKind, 7> LoadOrder{
    ObjectKind::BuildFeature, ObjectKind::Valve, ObjectKind::Spur, ObjectKind::Elbow,
    ObjectKind::Drain,        ObjectKind::Drop,  ObjectKind::Inlet};
constexpr std::array<ObjectKind, 7> FileOrder{
    ObjectKind::Elbow, ObjectKind::BuildFeature, ObjectKind::Drain, ObjectKind::Drop,
    ObjectKind::Valve, ObjectKind::Inlet,        ObjectKind::Spur};

struct Counts {
    std::array<int32_t, 7> ofKind{}; // indexed by ObjectKind
    int32_t& operator[](ObjectKind kind) { return ofKind[static_cast<size_t>(kind)]; }
    int32_t operator[](ObjectKind kind) const { return ofKind[static_cast<size_t>(kind)]; }
};

// The symbol list of a counted drop or inlet: a readable count whose missing
// SYMi keys the allowance covers. The refusal or an empty text.
QString CheckSymbols(const IniFile& ini, const QString& section, const QString& fileName,
                     int64_t& filled)
{
    const Parsed<int32_t> symbols = ReadCount(ini, section, SymbolsKey, fileName);
    if (!symbols)
        return symbols.error();
    if (!WithinBudget(symbols.value(), filled, MaxDefaultFilledSymbols, [&](int64_t j) {
            return ini.valueExists(section, SymbolKeyPrefix + QString::number(j));
        }))
        return ProjectCountMessage(fileName, section, SymbolsKey, symbols.value());
    return {};
}

// Reads the object counts and refuses the first damage the file shows, in
// file order: a count that is not one, a counted object whose section is
// missing (for a file cut short, the first section lost; the loop ends there,
// whatever the count), symbols or note lines beyond the allowance. The
// refusal or an empty text.
QString ReadCounts(const IniFile& ini, const QString& fileName, Counts& counts)
{
    int64_t filled = 0;
    for (ObjectKind kind : FileOrder) {
        const Parsed<int32_t> count = ReadCount(ini, PipeLoopSection, CountKey(kind), fileName);
        if (!count)
            return count.error();
        counts[kind] = count.value();
        const bool withSymbols = kind == ObjectKind::Drop || kind == ObjectKind::Inlet;
        for (int64_t i = 1; i <= count.value(); ++i) {
            const QString section = SectionName(kind, i);
            if (!ini.sectionExists(section))
                return DamagedMessage(fileName,
                                      QStringLiteral("Section %1 is missing (%2=%3 in section %4).")
                                          .arg(section, CountKey(kind),
                                               QString::number(count.value()), PipeLoopSection));
            if (!withSymbols)
                continue;
            const QString refusal = CheckSymbols(ini, section, fileName, filled);
            if (!refusal.isEmpty())
                return refusal;
        }
    }
    const Parsed<int32_t> lines = ReadCount(ini, NotesSection, LinesKey, fileName);
    if (!lines)
        return lines.error();
    if (!WithinBudget(lines.value(), filled, MaxDefaultFilledItems,
                      [&](int64_t i) { return ini.valueExists(NotesSection, QString::number(i)); }))
        return ProjectCountMessage(fileName, NotesSection, LinesKey, lines.value());
    return {};
}

template <typename T>
LoadResult LoadList(const IniFile& ini, std::vector<std::unique_ptr<T>>& list, ObjectKind kind,
                    int32_t count)
{
    if (count > 0)
        list.reserve(static_cast<size_t>(count));
    for (int64_t i = 1; i <= count; ++i) {
        auto object = std::make_unique<T>();
        const LoadResult result = object->LoadFromIni(ini, SectionName(kind, i));
        list.push_back(std::move(object));
        if (!result)
            return result;
    }
    return LoadResult::success();
}

float ReadSize(const IniFile& ini, const QString& section, const QString& key,
               const QString& defaultText, float unparsable)
{
    // A value beyond the single range (1e39) is no more a size than text is.
    const Parsed<double> value = ini.readReal(section, key, defaultText);
    if (!value || !std::isfinite(value.value()) ||
        std::fabs(value.value()) > std::numeric_limits<float>::max())
        return unparsable;
    return static_cast<float>(value.value());
}

DisplayUnits ReadUnits(const IniFile& ini)
{
    const int32_t units = ini.readInteger(ProjectSection, UnitsKey, -1);
    if (units < 0) // an older file
        return ini.readBool(ProjectSection, UseMMKey, true) ? DisplayUnits::Millimetres
                                                            : DisplayUnits::Metres;
    if (units == 0)
        return DisplayUnits::Metres;
    if (units == 2)
        return DisplayUnits::FeetInches;
    return DisplayUnits::Millimetres;
}

// Step 6 of OpenProject: the design reads itself.
LoadResult ReadDesign(const IniFile& ini, const Counts& counts, TPipeLoop& design)
{
    design.Description = ini.readString(ProjectSection, DescriptionKey, QString());
    design.CreatedBy = ini.readString(ProjectSection, CreatedByKey, QString());
    design.CustomerCompany = ini.readString(ProjectSection, CustomerCompanyKey, QString());
    design.Units = ReadUnits(ini);
    design.CompressorHouse = ini.readBool(ProjectSection, CompressorHouseKey, false);
    design.Height = ini.readInteger(PipeLoopSection, HeightKey, 2000);
    design.PipeColour =
        PipeColourFromWord(ini.readString(PipeLoopSection, PipeColourKey, QStringLiteral("BLUE")));
    design.RoomEW = ini.readInteger(BuildingSection, RoomEWKey, 5000);
    // Older files gave the building height as Height.
    design.RoomHG = ini.readInteger(BuildingSection, HeightKey, 0);
    if (design.RoomHG < 1)
        design.RoomHG = ini.readInteger(BuildingSection, RoomHGKey, 2000);
    design.RoomNS = ini.readInteger(BuildingSection, RoomNSKey, 2000);
    design.PipeSize = ReadSize(ini, PipeLoopSection, PipeSizeKey, QStringLiteral("50.0"), 50.0f);
    design.DefaultOutletSize =
        ReadSize(ini, PipeLoopSection, DefaultOutletSizeKey, QStringLiteral("25.0"), 25.0f);
    // Pressures in bar; a file that does not hold a sensible one keeps the default.
    constexpr double MaxPressure = 1000;
    design.SupplyPressure =
        ReadRealWithin(ini, PipeLoopSection, SupplyPressureKey, DefaultSupplyPressure,
                       std::numeric_limits<double>::min(), MaxPressure);
    design.AllowedPressureDrop =
        ReadRealWithin(ini, PipeLoopSection, AllowedPressureDropKey, DefaultAllowedPressureDrop,
                       std::numeric_limits<double>::min(), MaxPressure);

    for (ObjectKind kind : LoadOrder) {
        const int32_t count = counts[kind];
        LoadResult result = LoadResult::success();
        switch (kind) {
        case ObjectKind::BuildFeature:
            result = LoadList(ini, design.BuildFeatures, kind, count);
            break;
        case ObjectKind::Valve:
            result = LoadList(ini, design.Valves, kind, count);
            break;
        case ObjectKind::Spur:
            result = LoadList(ini, design.Spurs, kind, count);
            break;
        case ObjectKind::Elbow:
            result = LoadList(ini, design.Elbows, kind, count);
            break;
        case ObjectKind::Drain:
            result = LoadList(ini, design.Drains, kind, count);
            break;
        case ObjectKind::Drop:
            result = LoadList(ini, design.Drops, kind, count);
            break;
        case ObjectKind::Inlet:
            result = LoadList(ini, design.Inlets, kind, count);
            break;
        }
        if (!result)
            return result;
    }

    const int32_t lines = ini.readInteger(NotesSection, LinesKey, 0);
    for (int64_t i = 1; i <= lines; ++i)
        design.Notes.append(ini.readString(NotesSection, QString::number(i), QString()));
    return LoadResult::success();
}

ProjectLoad LoadFromImage(const IniFile& ini, const QString& fileName, bool lineEndingsChanged,
                          TPipeLoopOptions& options, const PrintSetup& printSetup,
                          const ZoomFactors& zoom, const ReplaceQuestion& mayReplace)
{
    // The version and the counts, before the user is asked anything or
    // anything is built.
    if (const QString refusal = CheckVersion(ini); !refusal.isEmpty())
        return Failed(refusal);
    Counts counts;
    if (const QString refusal = ReadCounts(ini, fileName, counts); !refusal.isEmpty())
        return Failed(refusal);
    if (mayReplace && !mayReplace())
        return {};

    // The new design, built aside on the shared options object.
    ProjectLoad load;
    auto design = std::make_unique<TPipeLoop>(options);

    for (ViewKind view : AllViews) {
        const size_t index = static_cast<size_t>(view);
        load.Zoom[index] =
            ini.readInteger(ProjectSection, ZoomFactorKey + ViewWord(view), zoom[index]);
    }

    // The options and, when they were taken, the print setup, into copies.
    load.Options = options;
    load.Print = printSetup;
    load.OptionsTaken = load.Options.LoadFromProject(ini);
    if (load.OptionsTaken)
        load.Print.LoadFromProject(ini);

    const LoadResult result = ReadDesign(ini, counts, *design);
    if (!result)
        return Failed(result.error());
    load.Design = std::move(design);
    load.Loaded = true;
    if (lineEndingsChanged) {
        Ui().warn(LineEndingsMessage(fileName));
        load.LineEndingsChanged = true;
    }
    return load;
}

// The whole file, within MaxProjectFileSize.
Parsed<QByteArray> ReadProjectBytes(QFile& file, const QString& path)
{
    const auto cannotRead = [&] {
        return Parsed<QByteArray>::failure(QStringLiteral("Cannot read file : ") + path +
                                           QStringLiteral("\r\n") + file.errorString());
    };
    const auto tooLarge = [&] {
        return Parsed<QByteArray>::failure(QStringLiteral("The project file is too large : ") +
                                           path);
    };
    if (file.size() > MaxProjectFileSize)
        return tooLarge();
    // Read in pieces up to one byte beyond the limit: a file that grows, or a
    // device that reports no size, is refused all the same.
    QByteArray bytes;
    bytes.reserve(file.size());
    constexpr qint64 Piece = qint64(1) << 20;
    for (;;) {
        const QByteArray piece = file.read(Piece);
        if (file.error() != QFileDevice::NoError)
            return cannotRead();
        if (piece.isEmpty())
            return bytes;
        bytes.append(piece);
        if (bytes.size() > MaxProjectFileSize)
            return tooLarge();
    }
}

} // namespace

// ---------------------------------------------------------------- saving

IniFile ProjectImage(const TPipeLoop& design, const TPipeLoopOptions& options,
                     const PrintSetup& printSetup, const ZoomFactors& zoom)
{
    IniFile ini;
    ini.writeInteger(InfoSection, FileVersionKey, ProjectFileVersion);
    ini.writeString(InfoSection, ProgramVersionKey, ProgramVersion());
    for (ViewKind view : AllViews)
        ini.writeInteger(ProjectSection, ZoomFactorKey + ViewWord(view),
                         zoom[static_cast<size_t>(view)]);
    options.SaveToProject(ini);
    if (options.Saved)
        printSetup.SaveToProject(ini);

    ini.writeString(ProjectSection, DescriptionKey, design.Description);
    ini.writeString(ProjectSection, CreatedByKey, design.CreatedBy);
    ini.writeString(ProjectSection, CustomerCompanyKey, design.CustomerCompany);
    ini.writeInteger(ProjectSection, UnitsKey, static_cast<int>(design.Units));
    ini.writeBool(ProjectSection, CompressorHouseKey, design.CompressorHouse);

    ini.writeInteger(BuildingSection, RoomEWKey, design.RoomEW);
    ini.writeInteger(BuildingSection, RoomHGKey, design.RoomHG);
    ini.writeInteger(BuildingSection, RoomNSKey, design.RoomNS);

    ini.writeInteger(PipeLoopSection, HeightKey, design.Height);
    ini.writeReal(PipeLoopSection, PipeSizeKey, static_cast<double>(design.PipeSize));
    ini.writeReal(PipeLoopSection, DefaultOutletSizeKey,
                  static_cast<double>(design.DefaultOutletSize));
    ini.writeString(PipeLoopSection, PipeColourKey, PipeColourWord(design.PipeColour));
    // Only a design that departs from the defaults carries them: every other
    // file stays as older releases wrote it.
    if (design.SupplyPressure != DefaultSupplyPressure)
        ini.writeReal(PipeLoopSection, SupplyPressureKey, design.SupplyPressure);
    if (design.AllowedPressureDrop != DefaultAllowedPressureDrop)
        ini.writeReal(PipeLoopSection, AllowedPressureDropKey, design.AllowedPressureDrop);
    const auto count = [](const auto& list) { return static_cast<int64_t>(list.size()); };
    ini.writeInteger(PipeLoopSection, CountKey(ObjectKind::Elbow), count(design.Elbows));
    ini.writeInteger(PipeLoopSection, CountKey(ObjectKind::Drain), count(design.Drains));
    ini.writeInteger(PipeLoopSection, CountKey(ObjectKind::Drop), count(design.Drops));
    ini.writeInteger(PipeLoopSection, CountKey(ObjectKind::Valve), count(design.Valves));
    ini.writeInteger(PipeLoopSection, CountKey(ObjectKind::Inlet), count(design.Inlets));
    ini.writeInteger(PipeLoopSection, CountKey(ObjectKind::Spur), count(design.Spurs));

    const auto saveList = [&ini](const auto& list) {
        int64_t number = 0;
        for (const auto& object : list)
            object->SaveToIni(ini, SectionName(object->Kind(), ++number));
    };
    saveList(design.Elbows);
    ini.writeInteger(PipeLoopSection, CountKey(ObjectKind::BuildFeature),
                     count(design.BuildFeatures));
    saveList(design.BuildFeatures);
    saveList(design.Drains);
    saveList(design.Drops);
    saveList(design.Valves);
    saveList(design.Inlets);
    saveList(design.Spurs);

    ini.writeInteger(NotesSection, LinesKey, design.Notes.size());
    for (qsizetype i = 0; i < design.Notes.size(); ++i)
        ini.writeString(NotesSection, QString::number(i + 1), design.Notes.at(i));
    return ini;
}

QByteArray ProjectBytes(const TPipeLoop& design, const TPipeLoopOptions& options,
                        const PrintSetup& printSetup, const ZoomFactors& zoom)
{
    return ProjectImage(design, options, printSetup, zoom).toBytes();
}

bool SaveProject(const TPipeLoop& design, const TPipeLoopOptions& options,
                 const PrintSetup& printSetup, const ZoomFactors& zoom, const QString& path)
{
    // The mended step 1: the old file is never deleted. It must be
    // replaceable, and is replaced only by a complete new file.
    if (!Replaceable(QFileInfo(path))) {
        Ui().error(CannotOverwriteMessage(path));
        return false;
    }
    const QByteArray bytes = ProjectBytes(design, options, printSetup, zoom);

    // The target is replaced only once every byte is on disk; after any
    // failure it is untouched and no temporary file is left.
    if (const auto failure = WriteAtomically(path, bytes)) {
        Ui().error(ProjectWriteMessage(path, failure->reason));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- loading

ProjectHeaderForm HeaderFormOf(QByteArrayView firstBytes)
{
    for (const QByteArrayView header : {ProjectFileHeader, OldProjectFileHeader}) {
        if (firstBytes.startsWith(header))
            return ProjectHeaderForm::Exact;
        const QByteArrayView name = header.chopped(2); // without its CR LF
        if (firstBytes.startsWith(name) && firstBytes.sliced(name.size()).startsWith('\n'))
            return ProjectHeaderForm::LineFeed;
    }
    return ProjectHeaderForm::Invalid;
}

bool CheckProjectHeaderBytes(QByteArrayView bytes)
{
    return HeaderFormOf(bytes) == ProjectHeaderForm::Exact;
}

bool CheckProjectHeader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return CheckProjectHeaderBytes(file.read(ProjectFileHeader.size()));
}

QString HeaderInvalidMessage(const QString& fileName)
{
    return QStringLiteral("File header invalid : ") + fileName;
}

QString VersionMessage(const QString& found)
{
    return QStringLiteral("The file version is not supported.\r\n\nExpected version ") +
           QString::number(ProjectFileVersion) + QStringLiteral(" , found version ") +
           (found.isEmpty() ? QStringLiteral("(empty)") : found);
}

QString ProjectCountMessage(const QString& fileName, const QString& section, const QString& key,
                            int32_t count)
{
    return DamagedMessage(fileName, QStringLiteral("%1=%2 in section %3 counts more than the file "
                                                   "describes.")
                                        .arg(key, QString::number(count), section));
}

void ProjectLoad::Apply(std::unique_ptr<TPipeLoop>& design, TPipeLoopOptions& options,
                        PrintSetup& printSetup, ZoomFactors& zoom)
{
    if (!ok() || !Design)
        return;
    design = std::move(Design);
    options = Options;
    if (OptionsTaken)
        printSetup = Print;
    zoom = Zoom;
}

ProjectLoad LoadProjectFromBytes(QByteArrayView bytes, const QString& fileName,
                                 TPipeLoopOptions& options, const PrintSetup& printSetup,
                                 const ZoomFactors& zoom, const ReplaceQuestion& mayReplace)
{
    const ProjectHeaderForm header = HeaderFormOf(bytes);
    if (header == ProjectHeaderForm::Invalid)
        return Failed(HeaderInvalidMessage(fileName));
    return LoadFromImage(IniFile::fromBytes(bytes), fileName, header == ProjectHeaderForm::LineFeed,
                         options, printSetup, zoom, mayReplace);
}

ProjectLoad OpenProject(const QString& path, TPipeLoopOptions& options,
                        const PrintSetup& printSetup, const ZoomFactors& zoom,
                        const ReplaceQuestion& mayReplace)
{
    // The header first: a file that is not a project, or cannot be opened at
    // all, is named so before its size matters.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) ||
        HeaderFormOf(file.peek(ProjectFileHeader.size())) == ProjectHeaderForm::Invalid)
        return Failed(HeaderInvalidMessage(path));
    const Parsed<QByteArray> bytes = ReadProjectBytes(file, path);
    if (!bytes)
        return Failed(bytes.error());
    return LoadProjectFromBytes(bytes.value(), path, options, printSetup, zoom, mayReplace);
}

} // namespace pipeloop
