#include "Model3D.h"

#include "PipeLoop.h"
#include "Rounding.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pipeloop
{

namespace
{

constexpr WinColour kSilver = 0xC0C0C0;
constexpr WinColour kRed = 0x0000FF;
constexpr double kPi = std::numbers::pi;
// A bound on pixel offsets, so that a point next to the eye cannot overflow
// the device coordinates.
constexpr int32_t kMaxOffset = 1 << 28;

int ClampedRound(double value)
{
    if (!std::isfinite(value))
        return 0;
    return std::clamp(Round(value), -kMaxOffset, kMaxOffset);
}

// The colour of a non-main pipe of an object by its state on screen, else by size.
WinColour StateOrSize(const TPipeLoopOptions& options, ObjectState state, float size)
{
    if (state == ObjectState::Selected)
        return options.SelectColour;
    if (state == ObjectState::Highlighted)
        return options.HighlightColour;
    return options.PipeColourFor(true, false, size);
}

} // namespace

bool View3DModel::add(const Item3D& item)
{
    if (count() >= Capacity)
        return false;
    m_items.push_back(item);
    return true;
}

void View3DModel::addLine(const Point3& a, const Point3& b, WinColour colour, int width,
                          const QString& label, float facing)
{
    Item3D item;
    item.start = a;
    item.end = b;
    item.kind = Item3D::Kind::Line;
    item.colour = colour;
    item.width = width;
    item.label = label;
    item.facing = facing;
    add(item);
}

Point3 View3DModel::Centred(int32_t ns, int32_t ew, int32_t height) const
{
    return {float(double(ns) - double(m_roomNS) / 2.0), float(double(ew) - double(m_roomEW) / 2.0),
            float(double(height) - double(m_roomHG) / 2.0)};
}

PointUV View3DModel::Project(const Point3& p) const
{
    // Each stored value is single precision; each expression is evaluated
    // with the wider precision of its operands and stored once.
    const double c1 = std::cos(double(m_theta1));
    const double s1 = std::sin(double(m_theta1));
    const float x1 = float(c1 * p.x + s1 * p.y);
    const float y1 = float(c1 * p.y - s1 * p.x);
    const double c2 = std::cos(double(m_theta2));
    const double s2 = std::sin(double(m_theta2));
    const float x2 = float(c2 * x1 + s2 * p.z);
    const float z1 = float(c2 * p.z - s2 * x1);
    const double c3 = std::cos(double(m_theta3));
    const double s3 = std::sin(double(m_theta3));
    const float y2 = float(c3 * y1 + s3 * z1);
    const float z2 = float(c3 * z1 - s3 * y1);

    const double d = m_distance;
    if (y2 >= m_distance)
        return {};
    return {float(-d * x2 / (d - y2)), float(z2 * d / (d - y2))};
}

QPoint View3DModel::ToPixels(const PointUV& uv, int cx, int cy, int scale) const
{
    const float width = m_xmax - m_xmin;
    const float height = m_ymax - m_ymin;
    return QPoint(cx + ClampedRound(double(uv.u) / double(width) * scale),
                  cy - ClampedRound(scale * double(uv.v) / double(height)));
}

QPoint View3DModel::ProjectToPixels(const Point3& point, int cx, int cy, int scale) const
{
    return ToPixels(Project(point), cx, cy, scale);
}

void View3DModel::ComputeExtents(int32_t roomNS, int32_t roomEW, int32_t roomHG)
{
    const Point3 corners[2] = {{0.0f, 0.0f, 0.0f}, {float(roomNS), float(roomEW), float(roomHG)}};
    bool first = true;
    for (int k = 0; k < 360; ++k) {
        m_theta1 = float(k * 0.017453292);
        for (const Point3& corner : corners) {
            const PointUV uv = Project(corner);
            if (first) {
                m_xmin = m_xmax = uv.u;
                m_ymin = m_ymax = uv.v;
                first = false;
            } else {
                m_xmin = std::min(m_xmin, uv.u);
                m_xmax = std::max(m_xmax, uv.u);
                m_ymin = std::min(m_ymin, uv.v);
                m_ymax = std::max(m_ymax, uv.v);
            }
        }
    }
    m_xmin = float(m_xmin * 0.25);
    m_xmax = float(m_xmax * 0.25);
    m_theta1 = InitialBearing;
}

void View3DModel::FitWholeRoom()
{
    const float bearing = m_theta1;
    const float halfL = float(m_roomNS) / 2.0f;
    const float halfW = float(m_roomEW) / 2.0f;
    const float halfH = float(m_roomHG) / 2.0f;
    float reachU = 0.0f;
    float reachV = 0.0f;
    for (int k = 0; k < 360; ++k) {
        m_theta1 = float(k * 0.017453292);
        for (int corner = 0; corner < 8; ++corner) {
            const Point3 point{corner & 1 ? halfL : -halfL, corner & 2 ? halfW : -halfW,
                               corner & 4 ? halfH : -halfH};
            const PointUV uv = Project(point);
            reachU = std::max(reachU, std::abs(uv.u));
            reachV = std::max(reachV, std::abs(uv.v));
        }
    }
    m_theta1 = bearing;
    if (reachU > 0.0f) {
        m_xmin = -reachU;
        m_xmax = reachU;
    }
    if (reachV > 0.0f) {
        m_ymin = -reachV;
        m_ymax = reachV;
    }
}

bool View3DModel::IsVisible(float facing) const
{
    if (facing < 0.0f)
        return true;
    double g = double(facing) + kPi;
    if (g > 2 * kPi)
        g -= 2 * kPi;
    if (g > kPi)
        g -= 2 * kPi;
    const double d = double(m_theta1) - kPi / 2;
    const double e = double(m_theta1) + kPi / 2;
    if (d < -kPi)
        return g <= e || g >= d + 2 * kPi;
    if (e > kPi)
        return g >= d || g <= e - 2 * kPi;
    return d <= g && g <= e;
}

void View3DModel::Rebuild(const TPipeLoop& design)
{
    m_rebuilding = true;
    const TPipeLoopOptions& options = design.Options;
    const int32_t W = design.RoomEW;
    const int32_t L = design.RoomNS;
    const int32_t H = design.RoomHG;
    m_roomNS = L;
    m_roomEW = W;
    m_roomHG = H;

    // 2, 3
    m_distance = float(50.0 * (L < W ? W : L));
    ComputeExtents(L, W, H);
    m_items.clear();

    // 4: the floor.
    Item3D floor;
    floor.start = Centred(0, 0, 0);
    floor.end = Centred(L, W, 0);
    floor.kind = Item3D::Kind::FilledRect;
    floor.colour = kSilver;
    add(floor);

    // 5: building features, their top faces and vertical edges.
    const WinColour featureColour = options.BuildFeaturesColour;
    for (const auto& f : design.BuildFeatures) {
        Item3D top;
        top.start = Centred(f->P1NS, f->P1EW, f->Height);
        top.end = Centred(f->P2NS, f->P2EW, f->Height);
        top.kind = f->Ellipse ? Item3D::Kind::FilledEllipse : Item3D::Kind::FilledRect;
        top.colour = featureColour;
        add(top);
        if (!f->Ellipse) {
            const int32_t corners[4][2] = {
                {f->P1EW, f->P2NS}, {f->P2EW, f->P2NS}, {f->P1EW, f->P1NS}, {f->P2EW, f->P1NS}};
            for (const auto& c : corners)
                addLine(Centred(c[1], c[0], f->Height), Centred(c[1], c[0], 0), featureColour, 1,
                        {});
        } else {
            const double cEW = (double(f->P1EW) + f->P2EW) / 2.0;
            const double cNS = (double(f->P1NS) + f->P2NS) / 2.0;
            const double aEW = (double(f->P2EW) - f->P1EW) / 2.0;
            const double aNS = (double(f->P2NS) - f->P1NS) / 2.0;
            for (int i = 0; i < 16; ++i) {
                const double phi = i * kPi / 8.0;
                const int32_t ew = Round(cEW + aEW * std::cos(phi));
                const int32_t ns = Round(cNS + aNS * std::sin(phi));
                addLine(Centred(ns, ew, f->Height), Centred(ns, ew, 0), featureColour, 1, {},
                        float(phi));
            }
        }
    }

    // 6: drops.
    for (int i = 0; i < int(design.Drops.size()); ++i) {
        const TDrop& drop = *design.Drops[size_t(i)];
        addLine(Centred(drop.NS, drop.EW, drop.HG),
                Centred(drop.NS, drop.EW, HeightBelow(drop.HG, drop.PipeLen)),
                StateOrSize(options, drop.State, drop.OutletSize), 3, QStringLiteral("D%1").arg(i));
    }
    // 7: drains.
    for (int i = 0; i < int(design.Drains.size()); ++i) {
        const TDrain& drain = *design.Drains[size_t(i)];
        addLine(Centred(drain.NS, drain.EW, drain.HG),
                Centred(drain.NS, drain.EW, HeightBelow(drain.HG, drain.PipeLen)),
                StateOrSize(options, drain.State, design.PipeSize), 3,
                QStringLiteral("D%1").arg(i));
    }
    // 8: the main, consecutive corners at the loop height less their drop.
    const WinColour mainColour = options.PipeColourFor(false, false, design.PipeSize);
    for (int i = 0; i + 1 < int(design.Elbows.size()); ++i) {
        const TElbow& a = *design.Elbows[size_t(i)];
        const TElbow& b = *design.Elbows[size_t(i) + 1];
        addLine(Centred(a.NS, a.EW, HeightBelow(design.Height, a.VerticalDrop)),
                Centred(b.NS, b.EW, HeightBelow(design.Height, b.VerticalDrop)), mainColour, 3,
                QStringLiteral("E%1").arg(i));
    }
    // 9: spurs.
    for (int i = 0; i < int(design.Spurs.size()); ++i) {
        const TSpur& spur = *design.Spurs[size_t(i)];
        const WinColour colour = StateOrSize(options, spur.State, spur.PipeSize);
        const QString label = QStringLiteral("S%1").arg(i);
        if (spur.VerticalDrop != 0) {
            const int32_t low = HeightBelow(spur.HG, spur.VerticalDrop);
            const int32_t lowEnd = HeightBelow(spur.HG2, spur.VerticalDrop);
            addLine(Centred(spur.NS, spur.EW, spur.HG), Centred(spur.NS, spur.EW, low), colour, 3,
                    label);
            addLine(Centred(spur.NS, spur.EW, low), Centred(spur.NS2, spur.EW2, lowEnd), colour, 3,
                    label);
            addLine(Centred(spur.NS2, spur.EW2, lowEnd), Centred(spur.NS2, spur.EW2, spur.HG2),
                    colour, 3, label);
        } else {
            addLine(Centred(spur.NS, spur.EW, spur.HG), Centred(spur.NS2, spur.EW2, spur.HG2),
                    colour, 3, label);
        }
    }
    m_rebuilding = false;
}

void View3DModel::Paint(Canvas& canvas, const PixelRect& area, int cx, int cy, int scale)
{
    if (m_rebuilding)
        return;
    m_painting = true;
    canvas.setPen({kWhite, 1, PenStyle::Solid});
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.fillRect(area);

    std::vector<QPoint> points;
    for (const Item3D& item : m_items) {
        switch (item.kind) {
        case Item3D::Kind::FilledRect: {
            const float z = item.start.z;
            const Point3 corners[4] = {{item.start.x, item.start.y, z},
                                       {item.start.x, item.end.y, z},
                                       {item.end.x, item.end.y, z},
                                       {item.end.x, item.start.y, z}};
            points.clear();
            for (const Point3& c : corners)
                points.push_back(ProjectToPixels(c, cx, cy, scale));
            canvas.setPen({item.colour, 1, PenStyle::Solid});
            canvas.setBrush({item.colour, BrushStyle::Solid});
            canvas.polygon(points);
            break;
        }
        case Item3D::Kind::FilledEllipse: {
            const double centreX = (double(item.start.x) + item.end.x) / 2.0;
            const double centreY = (double(item.start.y) + item.end.y) / 2.0;
            const double ax = (double(item.end.x) - item.start.x) / 2.0;
            const double ay = (double(item.end.y) - item.start.y) / 2.0;
            points.clear();
            for (int j = 0; j < 60; ++j) {
                const double angle = j * 6.0 * kPi / 180.0;
                const Point3 p{float(centreX + ax * std::cos(angle)),
                               float(centreY + ay * std::sin(angle)), item.start.z};
                points.push_back(ProjectToPixels(p, cx, cy, scale));
            }
            canvas.setPen({item.colour, 1, PenStyle::Solid});
            canvas.setBrush({item.colour, BrushStyle::Solid});
            canvas.polygon(points);
            break;
        }
        case Item3D::Kind::Line:
            if (IsVisible(item.facing)) {
                canvas.setPen({item.colour, item.width, PenStyle::Solid});
                canvas.moveTo(ProjectToPixels(item.start, cx, cy, scale));
                canvas.lineTo(ProjectToPixels(item.end, cx, cy, scale));
            }
            break;
        }
    }
    m_painting = false;
}

void View3DModel::Paint(Canvas& canvas, QSize client)
{
    const int scale = Round(0.9 * std::min(client.width(), client.height()));
    Paint(canvas, PixelRect{0, 0, client.width(), client.height()}, client.width() / 2,
          client.height() / 2, scale);
}

void DrawCompass(Canvas& canvas, float bearing, QPoint origin, int width)
{
    const int r = width / 2;
    const auto at = [&](int x, int y) { return origin + QPoint(x, y); };
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.ellipse(origin.x(), origin.y(), origin.x() + 2 * r, origin.y() + 2 * r);
    canvas.moveTo(at(r, 0));
    canvas.lineTo(at(r, 2 * r));
    canvas.moveTo(at(0, r));
    canvas.lineTo(at(2 * r, r));
    canvas.setBrush({kBlack, BrushStyle::Solid});
    canvas.polygon({at(r, 0), at(r + 4, 8), at(r - 4, 8)});
    canvas.setPenColour(kRed);
    canvas.moveTo(at(r, r));
    canvas.lineTo(
        at(r + Trunc(r * std::sin(double(bearing))), r - Trunc(r * std::cos(double(bearing)))));
    canvas.setPenColour(kBlack);
}

float BearingFromCompassPoint(int x, int y)
{
    return float(std::atan2(double(x - 40), double(40 - y)));
}

QString CompassHint(float bearing)
{
    return QString::asprintf("%.1f", double(bearing) * 180.0 / kPi);
}

} // namespace pipeloop
