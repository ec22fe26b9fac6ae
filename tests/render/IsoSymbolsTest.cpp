// ISO 1219 symbol geometry, through the recording canvas: every
// coordinate below is an offset from the anchor, s = 12 unless stated.

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace pipeloop;
using pipeloop::test::SymbolCalls;

namespace
{

const QString kDiamond12 =
    QStringLiteral("polygon (-12,0) (0,-12) (12,0) (0,12) pen 000000 w1 solid brush FFFFFF solid");

} // namespace

TEST(RotateOffset, TurnsTheOffsetAndRounds)
{
    EXPECT_EQ(RotateOffset(QPoint(10, 20), 3, -4, 0.0), QPoint(13, 16));
    // A quarter turn (the single-precision half pi of sections): (dx, dy) -> (dy, -dx).
    EXPECT_EQ(RotateOffset(QPoint(0, 0), 6, -12, double(1.5707964f)), QPoint(-12, -6));
    // Half a turn: the offset is mirrored through the anchor.
    EXPECT_EQ(RotateOffset(QPoint(0, 0), -10, 5, std::numbers::pi), QPoint(10, -5));
    // 45 degrees: 1·cos + 0·sin = 0.7071 -> 1; 1·(-sin) -> -1.
    EXPECT_EQ(RotateOffset(QPoint(0, 0), 1, 0, std::numbers::pi / 4), QPoint(1, -1));
}

TEST(SharedPrimitives, DiamondIsAWhiteFilledSquareOnItsCorner)
{
    RecordingCanvas canvas;
    canvas.setBrush({0x123456, BrushStyle::Cross});
    DrawDiamond(canvas, QPoint(50, 60), 12);
    EXPECT_EQ(canvas.descriptions(QPoint(50, 60)), QStringList{kDiamond12});
}

TEST(SharedPrimitives, EraseSymbolBoxUsesAWhitePenAndGivesThePenBack)
{
    RecordingCanvas canvas;
    canvas.setPenColour(0x0000FF);
    canvas.setBrush({0x00FF00, BrushStyle::Solid});
    EraseSymbolBox(canvas, QPoint(50, 60), 12);
    EXPECT_EQ(canvas.descriptions(QPoint(50, 60)),
              QStringList{"rectangle (-12,-12)-(12,12) pen FFFFFF w1 solid brush 00FF00 solid"});
    EXPECT_EQ(canvas.pen().colour, 0x0000FF);
}

TEST(SharedPrimitives, ArrowPointsUpWithItsShaftInTheCallersWidth)
{
    RecordingCanvas canvas;
    canvas.setPenWidth(3);
    canvas.setBrush({0x000000, BrushStyle::Solid});
    DrawArrow(canvas, QPoint(40, 40), 13, 0.0); // h = 13 div 2 = 6
    EXPECT_EQ(canvas.descriptions(QPoint(40, 40)),
              (QStringList{"line (0,0)-(0,12) pen 000000 w3 solid",
                           "polygon (0,0) (-6,6) (6,6) pen 000000 w1 solid brush 000000 solid"}));

    // Turned a quarter turn the arrow points left: (dx, dy) -> (dy, -dx).
    canvas.clear();
    DrawArrow(canvas, QPoint(0, 0), 12, std::numbers::pi / 2);
    EXPECT_EQ(canvas.primitives()[0].points[1], QPoint(12, 0));
}

TEST(SharedPrimitives, ValveIsABowTieThatLiesAlongThePipeOnSections)
{
    EXPECT_EQ(SymbolCalls("VALVE", 12),
              (QStringList{"polygon (0,0) (-6,-12) (6,-12) pen 000000 w1 solid brush FFFFFF solid",
                           "polygon (0,0) (-6,12) (6,12) pen 000000 w1 solid brush FFFFFF solid"}));

    RecordingCanvas canvas;
    DrawValveSymbol(canvas, QPoint(0, 0), 12, double(1.5707964f));
    EXPECT_EQ(canvas.descriptions(),
              (QStringList{"polygon (0,0) (-12,6) (-12,-6) pen 000000 w1 solid brush FFFFFF solid",
                           "polygon (0,0) (12,6) (12,-6) pen 000000 w1 solid brush FFFFFF solid"}));
}

TEST(SharedPrimitives, DrainHasTheAutomaticMarkUnlessManual)
{
    RecordingCanvas canvas;
    DrawDrainSymbol(canvas, QPoint(0, 0), 12, false);
    EXPECT_EQ(canvas.descriptions(),
              (QStringList{kDiamond12, "line (-6,6)-(6,6) pen 000000 w1 solid",
                           "polyline (-3,6) (0,9) (3,6) pen 000000 w1 solid"}));
    canvas.clear();
    DrawDrainSymbol(canvas, QPoint(0, 0), 12, true);
    EXPECT_EQ(canvas.descriptions(),
              (QStringList{kDiamond12, "line (-6,6)-(6,6) pen 000000 w1 solid"}));
}

TEST(SymbolGeometry, FilterHasADottedLineThroughItsDiamond)
{
    EXPECT_EQ(SymbolCalls("FILTER", 12),
              (QStringList{kDiamond12, "line (0,-12)-(0,12) pen 000000 w1 dot"}));
}

TEST(SymbolGeometry, FilterWithAutomaticDrainIsAnotherSymbol)
{
    EXPECT_EQ(SymbolCalls("FILTER_AUTO", 12),
              (QStringList{kDiamond12, "line (-6,6)-(6,6) pen 000000 w1 solid",
                           "polyline (-3,6) (0,9) (3,6) pen 000000 w1 solid",
                           "line (0,-12)-(0,6) pen 000000 w1 dot"}));
    // Keywords are compared whole and case-sensitively.
    EXPECT_NE(SymbolCalls("FILTER_AUTO", 12), SymbolCalls("FILTER", 12));
    EXPECT_TRUE(SymbolCalls("FILTER ", 12).isEmpty());
    EXPECT_TRUE(SymbolCalls("filter", 12).isEmpty());
    EXPECT_TRUE(SymbolCalls("FILTER_AUTO2", 12).isEmpty());
    EXPECT_TRUE(SymbolCalls("", 12).isEmpty());
}

TEST(SymbolGeometry, DryerAndLubricator)
{
    EXPECT_EQ(SymbolCalls("DRYER", 12),
              (QStringList{kDiamond12, "line (-6,6)-(6,6) pen 000000 w1 solid",
                           "line (-6,-6)-(6,-6) pen 000000 w1 solid"}));
    EXPECT_EQ(SymbolCalls("LUBRICATOR", 12),
              (QStringList{kDiamond12, "line (0,-12)-(0,-6) pen 000000 w1 solid"}));
}

TEST(SymbolGeometry, GaugeNeedlePointsUpLeft)
{
    EXPECT_EQ(SymbolCalls("GAUGE", 12),
              (QStringList{"ellipse (-12,-12)-(12,12) pen 000000 w1 solid brush FFFFFF solid",
                           "line (0,0)-(-6,-6) pen 000000 w1 solid",
                           "polyline (-6,-3) (-6,-6) (-3,-6) pen 000000 w1 solid"}));
}

TEST(SymbolGeometry, ReceiverIsACapsuleOfRadiusRoundOf055s)
{
    // r = Round(6.6) = 7.
    EXPECT_EQ(SymbolCalls("RECEIVER", 12),
              (QStringList{"ellipse (-12,-7)-(2,7) pen 000000 w1 solid brush FFFFFF solid",
                           "ellipse (-2,-7)-(12,7) pen 000000 w1 solid brush FFFFFF solid",
                           "rectangle (-7,-7)-(7,7) pen FFFFFF w1 solid brush FFFFFF solid",
                           "line (-7,-7)-(7,-7) pen 000000 w1 solid",
                           "line (-7,7)-(7,7) pen 000000 w1 solid"}));
    // 0.55 * 110 is exactly 60.5, which rounds to the even 60 (a binary 0.55
    // would make it 60.50000000000001 and 61).
    EXPECT_EQ(SymbolCalls("RECEIVER", 110)[2],
              "rectangle (-60,-60)-(60,60) pen FFFFFF w1 solid brush FFFFFF solid");
}

TEST(SymbolGeometry, CompressorBodySitsAQuarterBelowTheAnchor)
{
    // r = Trunc(8.4) = 8, q = 3, e = 2, centre (0, 3).
    EXPECT_EQ(
        SymbolCalls("COMPRESSOR", 12),
        (QStringList{
            "line (0,1)-(-12,1) pen 000000 w1 solid", "line (0,5)-(-12,5) pen 000000 w1 solid",
            "ellipse (-8,-5)-(8,11) pen 000000 w1 solid brush FFFFFF solid",
            "polygon (-3,-9) (3,-9) (0,-6) pen 000000 w1 solid brush FFFFFF solid",
            "line (0,-6)-(0,-5) pen 000000 w1 solid", "line (8,3)-(2,6) pen 000000 w1 solid",
            "line (2,6)-(2,0) pen 000000 w1 solid", "line (2,0)-(8,3) pen 000000 w1 solid"}));
    // Trunc(0.7 * 90) is 63: the product is the decimal one, not 62.99999999999999.
    EXPECT_EQ(SymbolCalls("COMPRESSOR", 90)[2],
              "ellipse (-63,-41)-(63,85) pen 000000 w1 solid brush FFFFFF solid");
}

TEST(SymbolGeometry, RegulatorAtTwelvePixels)
{
    // a = Trunc(7.2) = 7, t = Trunc(1.8) = 1, u = Trunc(0.6) = 0 -> 3 with n = 1,
    // m = 3, t2 = 2, k = 2, v = Round(1.05) div 2 = 0 (a flat spring).
    EXPECT_EQ(SymbolCalls("REGULATOR", 12),
              (QStringList{
                  "rectangle (-12,-12)-(12,7) pen FFFFFF w1 solid brush FFFFFF solid",
                  "rectangle (-7,-7)-(7,7) pen 000000 w1 solid brush FFFFFF solid",
                  "line (-7,0)-(3,0) pen 000000 w1 solid",
                  "line (3,0)-(3,7) pen 000000 w1 solid",
                  "polygon (-7,0) (-5,-1) (-5,1) pen 000000 w1 solid brush 000000 solid",
                  "polygon (3,0) (1,-1) (1,1) pen 000000 w1 solid brush 000000 solid",
                  "line (-7,-7)-(-9,-5) pen 000000 w1 solid",
                  "line (-9,-5)-(-7,-3) pen 000000 w1 solid",
                  "polyline (-2,-7) (2,-7) (-2,-7) (2,-7) (-2,-7) (2,-7) pen 000000 w1 solid",
                  // The pilot line reaches 3 pixels beyond the square: one dash
                  // out, dashes down to y = 10 and back along y = 10.
                  "line (7,0)-(10,0) pen 000000 w1 solid",
                  "line (10,0)-(10,3) pen 000000 w1 solid",
                  "line (10,6)-(10,9) pen 000000 w1 solid",
                  "line (0,10)-(3,10) pen 000000 w1 solid",
                  "line (6,10)-(9,10) pen 000000 w1 solid",
              }));
}

TEST(SymbolGeometry, RegulatorSpringAndThreeStepPilotAtSixtyPixels)
{
    // a = 36, t = 9, u = 3 (n = 3, L = 9), m = 18, k = 12, v = Round(5.4) div 2 = 2.
    const QStringList calls = SymbolCalls("REGULATOR", 60);
    EXPECT_TRUE(calls.contains(
        "polyline (-12,-36) (12,-40) (-12,-44) (12,-48) (-12,-52) (12,-56) pen 000000 w1 solid"));
    QStringList pilot = calls.mid(9);
    QStringList expected{"line (36,0)-(39,0) pen 000000 w1 solid",
                         "line (42,0)-(45,0) pen 000000 w1 solid"};
    for (int y = 0; y <= 42; y += 6)
        expected << QStringLiteral("line (45,%1)-(45,%2) pen 000000 w1 solid").arg(y).arg(y + 3);
    for (int x = 0; x <= 42; x += 6)
        expected << QStringLiteral("line (%1,45)-(%2,45) pen 000000 w1 solid").arg(x).arg(x + 3);
    EXPECT_EQ(pilot, expected);
}

TEST(SymbolGeometry, RegulatorArrowHeadsTakeThePenColour)
{
    RecordingCanvas canvas;
    canvas.setPenColour(0x0000FF);
    DrawSymbol(canvas, "REGULATOR", QPoint(0, 0), 12);
    EXPECT_EQ(canvas.primitives()[0].pen.colour, kWhite); // the clearing rectangle
    EXPECT_EQ(canvas.primitives()[4].brush, (Brush{0x0000FF, BrushStyle::Solid}));
    EXPECT_EQ(canvas.pen().colour, 0x0000FF);
}

TEST(SymbolGeometry, PortOutlets)
{
    // b = Round(9.6) = 10, t = Round(2.4) = 2.
    const QString body = "rectangle (-10,-10)-(10,10) pen 000000 w1 solid brush FFFFFF solid";
    const QString down = "polygon (-2,10) (2,10) (0,12) pen 000000 w1 solid brush FFFFFF solid";
    const auto sidePorts = [](int y) {
        return QStringList{
            QStringLiteral(
                "polygon (-10,%1) (-10,%2) (-12,%3) pen 000000 w1 solid brush FFFFFF solid")
                .arg(y - 2)
                .arg(y + 2)
                .arg(y),
            QStringLiteral("polygon (10,%1) (10,%2) (12,%3) pen 000000 w1 solid brush FFFFFF solid")
                .arg(y - 2)
                .arg(y + 2)
                .arg(y)};
    };
    EXPECT_EQ(SymbolCalls("1-PORT-OUTLET", 12), (QStringList{body, down}));
    EXPECT_EQ(SymbolCalls("2-PORT-OUTLET", 12), QStringList{body} + sidePorts(0));
    // One port down and one pair of side ports at the anchor height.
    EXPECT_EQ(SymbolCalls("3-PORT-OUTLET", 12), (QStringList{body, down}) + sidePorts(0));
    // Two pairs at y = step - b and 2 step - b, step = 20 div 3 = 6; no port down.
    EXPECT_EQ(SymbolCalls("4-PORT-OUTLET", 12), QStringList{body} + sidePorts(-4) + sidePorts(2));
}

TEST(SymbolGeometry, AdaptorsDifferOnlyInTheirArrowHead)
{
    // b = Round(7.2) = 7, p = 14 div 3 = 4.
    const QStringList common{
        "rectangle (-12,-12)-(12,12) pen FFFFFF w1 solid brush FFFFFF solid",
        "polygon (-7,-12) (7,-12) (7,2) (-7,2) pen 000000 w1 solid brush FFFFFF solid",
        "line (0,2)-(0,8) pen 000000 w1 solid"};
    EXPECT_EQ(
        SymbolCalls("ADAPTOR_FEMALE", 12),
        common + QStringList{"polygon (-4,8) (4,8) (0,12) pen 000000 w1 solid brush 000000 solid"});
    EXPECT_EQ(
        SymbolCalls("MALE_ADAPTOR", 12),
        common + QStringList{"polygon (-4,8) (4,8) (0,12) pen 000000 w1 solid brush FFFFFF solid"});

    RecordingCanvas canvas;
    DrawSymbol(canvas, "ADAPTOR_FEMALE", QPoint(0, 0), 12);
    EXPECT_EQ(canvas.brush(), (Brush{kWhite, BrushStyle::Solid})); // brush back to white
}

TEST(SymbolGeometry, FemaleTeeAndReducer)
{
    EXPECT_EQ(SymbolCalls("FEMALE-TEE", 12),
              QStringList{"polygon (-6,-12) (6,-12) (6,12) (-6,12) (-6,3) (-12,3) (-12,-3) (-6,-3) "
                          "pen 000000 w1 solid brush FFFFFF solid"});
    // a = 10, h = 5, turned half a turn: the wide half below the anchor.
    EXPECT_EQ(SymbolCalls("REDUCER", 12),
              QStringList{"polygon (10,10) (-10,10) (-10,0) (-5,0) (-5,-10) (5,-10) (5,0) (10,0) "
                          "pen 000000 w1 solid brush FFFFFF solid"});
}

TEST(SymbolGeometry, HoseItemsAndUnknownKeywordsDrawNothingHere)
{
    for (const char* keyword : {"COUPLER", "AIR-HOSE", "RECOIL-HOSE", "GENERAL", "SOMETHING"})
        EXPECT_TRUE(SymbolCalls(keyword, 12).isEmpty()) << keyword;
}

TEST(SymbolGeometry, EverySymbolStartsWithAWhiteFill)
{
    for (const QString& keyword : AllSymbolKeywords()) {
        RecordingCanvas canvas;
        canvas.setBrush({0x00FF00, BrushStyle::DiagonalCross});
        DrawSymbol(canvas, keyword, QPoint(0, 0), 12);
        for (const Primitive& p : canvas.primitives()) {
            if (p.kind == Primitive::Kind::Polygon || p.kind == Primitive::Kind::Ellipse ||
                p.kind == Primitive::Kind::Rectangle) {
                EXPECT_NE(p.brush.colour, 0x00FF00) << keyword.toStdString();
            }
        }
    }
}

TEST(SymbolGeometry, FrlStacksThreeSymbolsInADashDotBox)
{
    // q = 3: filter at the anchor, regulator 27 up, lubricator 54 up; box from
    // x -15 to 15, y -66 to 12.
    const QStringList calls = SymbolCalls("FRL", 12);
    QStringList expected = SymbolCalls("FILTER_AUTO", 12, QPoint(100, 200));
    {
        RecordingCanvas canvas;
        DrawSymbol(canvas, "REGULATOR", QPoint(100, 173), 12);
        expected += canvas.descriptions(QPoint(100, 200));
    }
    {
        RecordingCanvas canvas;
        DrawSymbol(canvas, "LUBRICATOR", QPoint(100, 146), 12);
        expected += canvas.descriptions(QPoint(100, 200));
    }
    expected += QStringList{"line (-15,-66)-(15,-66) pen 000000 w1 dashdot",
                            "line (15,-66)-(15,12) pen 000000 w1 dashdot",
                            "line (15,12)-(-15,12) pen 000000 w1 dashdot",
                            "line (-15,12)-(-15,-66) pen 000000 w1 dashdot"};
    EXPECT_EQ(calls, expected);
}
