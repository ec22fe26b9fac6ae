#pragma once

// The drawing model of the 3D view: a fixed-capacity list of
// display items rebuilt from the design, a single-precision rotation and
// perspective projection, the extents over 360 bearings, back-line culling of
// elliptical features' edges, painting onto a Canvas, and the compass that
// turns the view. The window around it comes with the desktop windows.

#include "Canvas.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <vector>

namespace pipeloop
{

class TPipeLoop;

// A point in centred model millimetres (x along NS, y along EW, z up).
struct Point3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    friend bool operator==(const Point3&, const Point3&) = default;
};

// A projected point before scaling to pixels.
struct PointUV {
    float u = 0.0f;
    float v = 0.0f;
    friend bool operator==(const PointUV&, const PointUV&) = default;
};

struct Item3D {
    enum class Kind : uint8_t { Line = 0, FilledRect = 1, FilledEllipse = 2 };

    Point3 start;
    Point3 end;
    Kind kind = Kind::Line;
    WinColour colour = kBlack;
    int32_t width = 1;
    // "D", "E" or "S" and the object's index; stored, not drawn.
    QString label;
    // Facing angle in radians for back-line culling; −1 always visible.
    float facing = -1.0f;
};

class View3DModel
{
public:
    static constexpr int Capacity = 8192;
    static constexpr float InitialBearing = 5.3f;
    static constexpr float InitialEyeDistance = 15000.0f;

    View3DModel() = default;

    // ---- the item list
    const std::vector<Item3D>& items() const { return m_items; }
    int count() const { return int(m_items.size()); }
    void clear() { m_items.clear(); }
    // Appends an item; at capacity nothing is added and the answer is false.
    bool add(const Item3D& item);

    // Rebuilds the list from the design: eye distance
    // 50 × the larger room side, extents (which turn the bearing back to
    // 5.3), floor, building features with their edges, drops, drains, the
    // main and the spurs. Paints are skipped while it runs.
    void Rebuild(const TPipeLoop& design);

    // Centred coordinates of a design point: (NS − L/2, EW − W/2, h − H/2).
    Point3 Centred(int32_t ns, int32_t ew, int32_t height) const;

    // ---- view state (single precision)
    float bearing() const { return m_theta1; }
    void setBearing(float radians) { m_theta1 = radians; }
    float tilt2() const { return m_theta2; }
    float tilt3() const { return m_theta3; }
    float eyeDistance() const { return m_distance; }
    void setEyeDistance(float d) { m_distance = d; }
    float xMin() const { return m_xmin; }
    float xMax() const { return m_xmax; }
    float yMin() const { return m_ymin; }
    float yMax() const { return m_ymax; }
    bool rebuilding() const { return m_rebuilding; }
    bool painting() const { return m_painting; }

    // Rotation by the bearing, then the two tilts, then perspective with the
    // eye distance; a point at or behind the eye projects to (0, 0).
    PointUV Project(const Point3& point) const;
    // px = cx + Round(u / (xmax − xmin) · S), py = cy − Round(S · v / (ymax − ymin)).
    QPoint ToPixels(const PointUV& uv, int cx, int cy, int scale) const;
    QPoint ProjectToPixels(const Point3& point, int cx, int cy, int scale) const;

    // The extents of the room (0, 0, 0) and (L, W, H), not centred, over the
    // bearings k · 0.017453292, k = 0 … 359; then xmin and xmax × 0.25 and the
    // bearing back to 5.3.
    void ComputeExtents(int32_t roomNS, int32_t roomEW, int32_t roomHG);
    // Extents that hold the whole room of the last rebuild at every bearing:
    // the eight corners of the centred room over the 360 whole degrees,
    // symmetric about the view's centre. The rebuild's own extents are a
    // quarter as wide and crop the model; the window shows it whole. The
    // bearing is kept.
    void FitWholeRoom();

    // Whether a line of the given facing shows at the current bearing
    // (negative facing: always).
    bool IsVisible(float facing) const;

    // Clears the area to white and draws the items in list order with centre
    // (cx, cy) and scale S. Nothing while a rebuild runs.
    void Paint(Canvas& canvas, const PixelRect& area, int cx, int cy, int scale);
    // As the window paints its drawing area: centre (w div 2, h div 2), S =
    // Round(0.9 × the smaller of width and height).
    void Paint(Canvas& canvas, QSize client);

private:
    void addLine(const Point3& a, const Point3& b, WinColour colour, int width,
                 const QString& label, float facing = -1.0f);

    std::vector<Item3D> m_items;
    float m_theta1 = InitialBearing;
    float m_theta2 = 0.0f;
    float m_theta3 = 0.2f;
    float m_distance = InitialEyeDistance;
    float m_xmin = 0.0f;
    float m_xmax = 0.0f;
    float m_ymin = 0.0f;
    float m_ymax = 0.0f;
    // Room of the last rebuild, for Centred.
    int32_t m_roomNS = 0;
    int32_t m_roomEW = 0;
    int32_t m_roomHG = 0;
    bool m_painting = false;
    bool m_rebuilding = false;
};

// ---- the compass (an 80 × 80 pixel area)

inline constexpr int CompassSize = 80;

// A white disc (0, 0)–(2r, 2r) with r = width div 2, black cross lines
// through the centre, a filled black north arrow and a red needle from the
// centre to (r + Trunc(r·sin θ), r − Trunc(r·cos θ)); origin is the area's
// top-left corner. The needle points where the mouse was to set θ (see
// BearingFromCompassPoint): bearing 0 is up, at the north arrow. Drawn with
// cos and sin the other way round it would point a quarter turn off the
// place the user clicked.
void DrawCompass(Canvas& canvas, float bearing, QPoint origin = QPoint(0, 0),
                 int width = CompassSize);

// The bearing set by the mouse at (x, y) over the compass: atan2(x − 40, 40 − y).
float BearingFromCompassPoint(int x, int y);

// The compass hint: the bearing in degrees formatted "%.1f".
QString CompassHint(float bearing);

} // namespace pipeloop
