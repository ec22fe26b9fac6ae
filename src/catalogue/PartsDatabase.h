#pragma once

#include "Cab.h"
#include "PartObject.h"

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QRect;
class QSize;

namespace pipeloop
{
class IniFile;
}

namespace pipeloop::catalogue
{

// A vendor package: a ready-made drop kit.
class TPackage
{
public:
    explicit TPackage(QString name) : m_name(std::move(name)) {}
    // Decodes the section named Name with the messages.
    void Load(const IniFile& catalogue);

    const QString& Name() const { return m_name; }
    float ConnectionSize() const { return m_connectionSize; }
    const QString& Description() const { return m_description; }
    const QString& Image() const { return m_image; }
    float HoseSize() const { return m_hoseSize; }
    bool NeedsHoseSize() const { return m_fem; }
    int32_t Length() const { return m_length; }
    const QStringList& Parts() const { return m_parts; }
    const QStringList& Symbols() const { return m_symbols; }

private:
    QString m_name;
    float m_connectionSize = 0;
    QString m_description;
    QString m_image;
    float m_hoseSize = 0;
    bool m_fem = false;
    int32_t m_length = 0;
    QStringList m_parts;
    QStringList m_symbols;
};

// PTS and SYM lists: words between runs of spaces.
QStringList SplitSpaceList(const QString& text);

// The display number and description of a part for parts lists.
struct PartDisplay {
    QString number;
    QString description;
};

struct PartPrice {
    Money price = 0;
    int32_t unitsPerPackage = 1;
};

struct CataloguePage {
    int32_t page = 0;
    QString code;
};

// A part number with its part, as the size and choice lists hold them.
struct PartChoice {
    QString partNumber;
    const TPartObject* part = nullptr;
};

// Where a picture is drawn inside a box of the given size (the rules fitting
// rule): scaled to fit, centred, then shrunk by 3 pixels on every side.
QRect FitPicture(const QSize& box, const QSize& picture);

// What became of a price list.
enum class PriceListLoad {
    Loaded,
    OtherCurrency, // refused before anything was read
    Abandoned,     // a price could not be read and the user chose Abort
};

// The one vendor catalogue of the running program.
class TPartsDatabase
{
public:
    static constexpr char CatalogueEntryName[] = "PARTS.PLDBI";
    static constexpr char PriceListSection[] = "PARTS-RRICE-LIST-FILE";

    TPartsDatabase();
    ~TPartsDatabase();
    TPartsDatabase(const TPartsDatabase&) = delete;
    TPartsDatabase& operator=(const TPartsDatabase&) = delete;

    // --- loading ---------------------------------------------------------
    void LoadContainer(const QString& path);
    // The same from the container's bytes (tests, fuzzing); path names it in messages.
    void LoadContainerBytes(const QByteArray& file, const QString& path);
    // Parses a catalogue text (the PARTS.PLDBI entry) into this database,
    // replacing what it held; sets loaded.
    void LoadCatalogueText(const QByteArray& text);
    bool Loaded() const { return m_loaded; }
    bool HasErrors() const { return m_hasErrors; }
    bool IsUsable() const { return m_loaded && !m_hasErrors; }
    const TCAB& Container() const { return m_cab; }

    // --- price lists -----------------------------------------------------
    static bool IsPriceListFile(const QString& path);
    static bool IsPriceListText(QByteArrayView bytes);
    // Reads every price of the list, then puts them all in place of the
    // parts' prices; a list of another currency, or one the user gives up
    // at a price that cannot be read, changes nothing.
    PriceListLoad LoadPriceList(const QString& path);
    PriceListLoad LoadPriceListBytes(const QByteArray& bytes, const QString& path);
    bool PriceListLoaded() const { return m_priceListLoaded; }
    const QString& PriceListCurrency() const { return m_priceListCurrency; }
    const QDateTime& PriceListExpiry() const { return m_priceListExpiry; }

    // --- header and lists ------------------------------------------------
    const QString& Supplier() const { return m_supplier; }
    const QString& Maker() const { return m_maker; }
    const QString& Description() const { return m_description; }
    const QString& OrderAddress() const { return m_orderAddress; }
    // Midnight at the start of EXP; the epoch (30 December 1899) when unset.
    const QDateTime& ExpiryDate() const { return m_expiryDate; }
    int PartCount() const { return static_cast<int>(m_parts.size()); }
    int PackageCount() const { return static_cast<int>(m_packages.size()); }
    const TPartObject* Part(int index) const;
    const TPackage* Package(int index) const;
    // Removes and returns the oldest queued "not found" message.
    QString NextError();
    int QueuedErrorCount() const { return static_cast<int>(m_errors.size()); }

    // --- queries by part key ---------------------------------------------
    const TPartObject* PartOfKey(const QString& key) const;
    const TPartObject* FindPart(const QString& keyOrNumber) const;
    QString PartNumberOf(const QString& key) const;
    PartDisplay DisplayOf(const QString& key, bool useCodes) const;
    std::optional<PartPrice> PriceOf(const QString& key) const;
    CataloguePage CataloguePageOf(const QString& key) const;
    int WidestPartNumber(const QStringList& keys) const;
    const TPackage* FindPackage(const QString& name) const;

    // --- selection ---------------------------------
    const TPartObject* Coupling(EndSet end1, EndSet end2, float size);
    const TPartObject* Hose(int32_t length, bool recoil, float size);
    const TPartObject* Pipe(int colour, int32_t length, float size);
    const TPartObject* ReducerBush(float big, float small);
    const TPartObject* PipeReducer(float big, float small);
    const TPartObject* EndCap(AttrSet attributes, float size);
    const TPartObject* OutletTee(float run, float outlet);
    const TPartObject* SaddleOutlet(float run, float outlet);
    const TPartObject* FemaleOutlet(int thread, AttrSet attributes, float run, float outlet);
    const TPartObject* Elbow(AttrSet attributes, float size);
    const TPartObject* Elbow45(AttrSet attributes, float size);
    const TPartObject* Connector(AttrSet attributes, float size);
    const TPartObject* EqualTee(AttrSet attributes, float size);
    const TPartObject* BallValve(EndSet end2, float size);
    const TPartObject* ButterflyValve(float size);
    const TPartObject* Manifold(int ports, int thread, const QString& nameFilter, float size);
    const TPartObject* Adapter(EndSet end2, float size2, float size);
    const TPartObject* PipeClip(Attr flag, float size);

    // --- size lists ------------------------------------------------------
    void PipeSizes(QStringList& list, bool all) const;
    QString PipeSizeText() const;
    // Asks through UiServices when the size has no pipe; true to go on.
    bool SizeSupported(float size) const;
    void SaddleOutletSizes(QString& result, float run) const;
    void OutletTeeSizes(QString& result, float run) const;
    void FemaleOutletSizes(QString& result, AttrSet attributes, float run) const;
    // The outlet sizes the drop dialog offers for a drop style (0..5) on a
    // pipe of the size, one per line: the female outlets (the saddle ones
    // for style 5), the outlet tees or the saddle outlets the catalogue
    // holds; without parts, BuiltInOutletSizes.
    QString DropOutletSizes(int style, float pipeSize) const;
    // The outlet sizes Edit Drop Outlet Size offers: as DropOutletSizes, but
    // a female quick drop lists only the quick female outlets.
    QString EditOutletSizes(int style, float pipeSize) const;
    void AdaptersFor(QList<PartChoice>& list, EndAttr end2Flag, float size) const;
    void ManifoldsWith(QList<PartChoice>& list, int ports) const;
    void ValvesOfSize(QList<PartChoice>& list, float size) const;

    // --- pictures --------------------------------------------------------
    bool HasEntry(const QString& name) const;
    // The entry shown for a part or package name: name, name + ".JPG", or the
    // image name of name + ".JPG"; empty when none exists.
    QString PictureEntryFor(const QString& name) const;
    // Fills the box white with a black 3-pixel frame and draws the picture
    // fitted, or "NO IMAGE" in bold; returns the box's hint (the entry name,
    // empty when there is no picture).
    QString ShowPicture(const QString& name, QPainter& painter, const QRect& box);
    // The entry's picture, decoded and unchanged (null when missing or undecodable).
    QImage AssignPicture(const QString& name);
    // Draws the entry fitted into the box; false when it cannot be decoded.
    bool DrawPicture(const QString& name, QPainter& painter, const QRect& box);
    // How many times a JPEG was actually decoded (the cache keeps the last one).
    int DecodeCount() const { return m_decodeCount; }

private:
    void Reset();
    void ParseCatalogue(const IniFile& catalogue);
    void ReadHeader(const IniFile& catalogue, const QString& section);
    void Queue(const QString& message) { m_errors.push_back(message); }
    QString Sup() const { return m_supplier; }
    const QImage* DecodedEntry(int index);
    // The outlet sizes by style, the female quick style listing the female
    // outlets with the attributes given.
    QString OutletSizesByStyle(int style, float pipeSize, AttrSet femaleQuick) const;
    template <typename Class, typename Predicate>
    const TPartObject* First(Predicate predicate) const;

    TCAB m_cab;
    std::vector<std::unique_ptr<TPartObject>> m_parts;
    std::vector<std::unique_ptr<TPackage>> m_packages;
    QHash<QString, int> m_firstOfKey;
    QString m_supplier;
    QString m_maker;
    QString m_description;
    QString m_orderAddress;
    QDateTime m_expiryDate;
    QString m_priceListCurrency;
    QDateTime m_priceListExpiry;
    bool m_loaded = false;
    bool m_hasErrors = true;
    bool m_priceListLoaded = false;
    std::deque<QString> m_errors;
    QImage m_cachedPicture;
    int m_cachedIndex = -1;
    int m_decodeCount = 0;
};

// Where the vendor's catalogue document opens for a part key or a package
// name: nothing for a part not in it yet (page -1); a search for the part's
// catalogue code ("search=C12") or its page ("page=40"); else the named
// destination of its picture name, a name without "=".
std::optional<QString> CatalogueDestinationOf(const TPartsDatabase& database, const QString& key);

// The placeholder order address when the catalogue has no EML.
QString DefaultOrderAddress();

// The price list the options name, loaded at start-up: nothing when path is
// empty; a missing file or one that is no price list is reported with
// "&Ignore", "&Remove" and "&Help", and "&Remove" clears path.
void LoadConfiguredPriceList(TPartsDatabase& database, QString& path);

} // namespace pipeloop::catalogue
