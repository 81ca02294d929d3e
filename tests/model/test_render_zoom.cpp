// The plan drawn through a view: a part of the plan at a zoom. Checked where zooming goes
// wrong: the mapping of plan pixels to picture pixels at every zoom step, a view at 100 %
// that must be exactly the matching part of the whole picture, borders whose thickness
// grows with the zoom, texts drawn at the zoom instead of enlarged, and lines that must
// not vanish when zoomed out.
#include <gtest/gtest.h>

#include "uFireClasses.h"
#include "uPlanCanvas.h"

#include <QImage>
#include <vector>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);

QRgb At(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xFF000000u; }

TPlanView View(int32_t percent, QPoint origin, QSize size)
{
    TPlanView v;
    v.Percent = percent;
    v.Origin = origin;
    v.Size = size;
    return v;
}

// A plan with a bit of everything the renderer draws: zones with names (one selected,
// one transparent-hatched by the view flags), a door, sensors of two types with labels and
// one selected with its wall distances, a hydrant and a pier.
std::unique_ptr<TFireProject> Scene()
{
    auto p = std::make_unique<TFireProject>();
    p->Width = 400;
    p->Height = 300;
    p->Setpx(0.05L);
    TRoom* a = p->GetRoom(p->AddRoom(20, 20, 180, 140));
    TRoom* b = p->GetRoom(p->AddRoom(181, 20, 330, 140));
    p->GetRoom(p->AddRoom(40, 170, 250, 280));
    EXPECT_FALSE(a->AddDoor(30, TWallType::wtRight, b->ID()).isEmpty());
    int n = 0;
    for (TRoom* room : { a, b })
        for (int k = 0; k < 6; ++k) {
            TSensor* s = room->AddSensor();
            const TRect r = room->Rect();
            s->SetAbsolutePos({ r.Left + 25 + (k % 3) * 45, r.Top + 30 + (k / 3) * 50 });
            s->SetName(QString::number(++n));
            s->SensorType = k % 2 ? TSensorType::stSmoke : TSensorType::stTemperature;
        }
    b->Selected = true;
    a->Sensors[4]->SetSelected(true);
    auto hydrant = std::make_unique<TWSFireHydrant>();
    hydrant->SetX(300);
    hydrant->SetY(220);
    p->AddWaterSource(std::move(hydrant));
    auto pier = std::make_unique<TWSPier>();
    pier->SetX(350);
    pier->SetY(250);
    p->AddWaterSource(std::move(pier));
    p->SetPaintParams(true, false, false, false);
    return p;
}

} // namespace

TEST(PlanView, EveryZoomedPixelBelongsToThePlanPixelItIsMappedFrom)
{
    for (const int32_t percent : { 10, 25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800 }) {
        const TPlanView v = View(percent, {}, { 100, 100 });
        for (int64_t x = -50; x <= 50; ++x) {
            // Order is kept, and a plan pixel never takes more than its share.
            ASSERT_LE(v.Zoomed(x), v.Zoomed(x + 1)) << percent;
            ASSERT_LE(v.Zoomed(x + 1) - v.Zoomed(x), (percent + 99) / 100) << percent;
        }
        for (int64_t z = -200; z <= 200; ++z) {
            const int64_t p = v.FromZoomed(z);
            if (percent >= 100) {
                // Zoomed in, the pixel under the pointer is the plan pixel drawn there.
                ASSERT_LE(v.Zoomed(p), z) << percent << " " << z;
                ASSERT_LT(z, v.Zoomed(p + 1)) << percent << " " << z;
            } else {
                // Zoomed out, it is one of the plan pixels merged into it.
                ASSERT_EQ(v.Zoomed(p), z) << percent << " " << z;
            }
        }
    }
    // Far out on the largest plan at the largest zoom nothing overflows.
    const TPlanView far = View(800, {}, { 10, 10 });
    EXPECT_EQ(far.Zoomed(PlanLimits::Coordinate), int64_t(PlanLimits::Coordinate) * 8);
    EXPECT_EQ(far.FromZoomed(int64_t(PlanLimits::Coordinate) * 8 + 7), PlanLimits::Coordinate);
    // The plan area of a view covers every pixel of the picture.
    const TPlanView part = View(300, { 900, 600 }, { 300, 150 });
    const QRect area = part.PlanArea();
    EXPECT_LE(area.left(), 300);
    EXPECT_LE(area.top(), 200);
    EXPECT_GE(area.right(), 399);
    EXPECT_GE(area.bottom(), 249);
}

TEST(RenderZoom, ViewAtHundredPercentIsThatPartOfTheWholePicture)
{
    auto p = Scene();
    QImage whole;
    p->PaintRooms(whole);
    ASSERT_EQ(whole.size(), QSize(400, 300));
    // Parts cutting through zones, labels, the door, the selected sensor's distances and
    // the water sources (whose fills start inside the part).
    for (const QRect part : { QRect(0, 0, 400, 300), QRect(13, 7, 200, 150), QRect(150, 60, 230, 220),
             QRect(281, 201, 100, 80) }) {
        QImage shown;
        p->PaintRooms(shown, View(100, part.topLeft(), part.size()));
        ASSERT_EQ(shown.size(), part.size());
        const QImage expected = whole.copy(part);
        int differ = 0;
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x)
                differ += At(shown, x, y) != At(expected, x, y);
        EXPECT_EQ(differ, 0) << part.x() << "," << part.y();
        if (differ && qEnvironmentVariableIsSet("TESVORN_DUMP")) {
            for (int y = 0; y < part.height(); ++y)
                for (int x = 0; x < part.width(); ++x)
                    if (At(shown, x, y) != At(expected, x, y))
                        printf("diff at plan %d,%d: %08x vs %08x\n", x + part.x(), y + part.y(),
                            At(shown, x, y), At(expected, x, y));
        }
    }
}

TEST(RenderZoom, BordersGrowWithTheZoomAndKeepAPixelZoomedOut)
{
    auto p = std::make_unique<TFireProject>();
    p->Width = 400;
    p->Height = 300;
    ASSERT_GT(p->AddRoom(100, 50, 200, 150), 0);
    p->SetPaintParams(false, false, false, false);

    // At 300 % from (240, 120): the left border (plan columns 100 and 101) covers picture
    // columns 300 - 240 … 305 - 240; the inside is white.
    QImage zoomed;
    p->PaintRooms(zoomed, View(300, { 240, 120 }, { 400, 300 }));
    if (qEnvironmentVariableIsSet("TESVORN_DUMP"))
        zoomed.save("/tmp/zoom300.png");
    ASSERT_EQ(zoomed.size(), QSize(400, 300));
    const int y = 200; // plan row (200 + 120) / 3 = 106, inside the zone
    EXPECT_EQ(At(zoomed, 59, y), White);
    for (int x = 60; x < 66; ++x)
        EXPECT_EQ(At(zoomed, x, y), Black) << x;
    EXPECT_EQ(At(zoomed, 66, y), White);
    // The right border: plan columns 199 and 200, picture 597 - 240 … 602 - 240.
    EXPECT_EQ(At(zoomed, 356, y), White);
    for (int x = 357; x < 363; ++x)
        EXPECT_EQ(At(zoomed, x, y), Black) << x;
    EXPECT_EQ(At(zoomed, 363, y), White);

    // At 10 % the zone is 10 pixels wide and its border still shows on every side.
    QImage small;
    p->PaintRooms(small, View(10, {}, { 40, 30 }));
    ASSERT_EQ(small.size(), QSize(40, 30));
    for (int yy = 5; yy <= 15; ++yy) {
        EXPECT_EQ(At(small, 10, yy), Black) << yy;
        EXPECT_EQ(At(small, 20, yy), Black) << yy;
    }
    EXPECT_EQ(At(small, 15, 10), White);
    EXPECT_EQ(At(small, 5, 10), White);
}

TEST(RenderZoom, TextsAreDrawnAtTheZoomNotEnlarged)
{
    auto p = std::make_unique<TFireProject>();
    p->Width = 200;
    p->Height = 120;
    TRoom* room = p->GetRoom(p->AddRoom(10, 10, 190, 110));
    room->SetName(QStringLiteral("Склад готовой продукции"));
    p->SetPaintParams(true, false, false, false);
    QImage plain;
    p->PaintRooms(plain);
    QImage zoomed;
    p->PaintRooms(zoomed, View(400, { 0, 0 }, { 800, 480 }));
    ASSERT_EQ(zoomed.size(), QSize(800, 480));

    // The name's cell: plan (13, 12) on, about 9 pixels high. An enlarged picture would
    // be made of 4 x 4 blocks of one colour each; text drawn at the zoom has edges inside
    // the blocks, and ink where the small picture has ink.
    int inkPlain = 0, inkZoomed = 0, mixedBlocks = 0;
    for (int py = 12; py < 22; ++py)
        for (int px = 13; px < 120; ++px) {
            inkPlain += At(plain, px, py) != White;
            std::vector<QRgb> block;
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 4; ++dx)
                    block.push_back(At(zoomed, px * 4 + dx, py * 4 + dy));
            int ink = 0;
            bool mixed = false;
            for (const QRgb c : block) {
                ink += c != White;
                mixed = mixed || c != block.front();
            }
            inkZoomed += ink;
            mixedBlocks += mixed;
        }
    EXPECT_GT(inkPlain, 40);
    EXPECT_GT(inkZoomed, inkPlain * 4) << "the text grows with the zoom";
    EXPECT_GT(mixedBlocks, 40) << "the text is not an enlarged picture";

    // Zoomed out to 25 % the 9-pixel font would be 2 pixels: left out, the border kept.
    QImage tiny;
    p->PaintRooms(tiny, View(25, {}, { 50, 30 }));
    int ink = 0;
    for (int yy = 4; yy < 26; ++yy)
        for (int xx = 4; xx < 46; ++xx)
            ink += At(tiny, xx, yy) != White;
    EXPECT_EQ(ink, 0);
    EXPECT_EQ(At(tiny, 2, 10), Black);
}

TEST(RenderZoom, ZoomedViewsOfTheSamePlanAgreeWithEachOther)
{
    // Two views at 200 % that overlap show the same pixels where they overlap, the
    // sensors' stamps and labels included: nothing depends on where a view starts.
    auto p = Scene();
    QImage left, right;
    p->PaintRooms(left, View(200, { 0, 0 }, { 500, 400 }));
    p->PaintRooms(right, View(200, { 260, 100 }, { 500, 400 }));
    int differ = 0, compared = 0;
    for (int y = 100; y < 400; ++y)
        for (int x = 260; x < 500; ++x) {
            ++compared;
            differ += At(left, x, y) != At(right, x - 260, y - 100);
        }
    EXPECT_GT(compared, 50000);
    EXPECT_EQ(differ, 0);
    // And the zoomed view does show the plan: the selected zone's red border at plan
    // column 181 is picture column 362 (row 100 is below the door in that wall).
    EXPECT_EQ(At(left, 362, 200), qRgb(255, 0, 0));
}
TEST(RenderZoom, WaterSourcesCutByTheViewOrZoomedOutStillFillTheirLeftHalf)
{
    auto p = std::make_unique<TFireProject>();
    p->Width = 300;
    p->Height = 200;
    auto hydrant = std::make_unique<TWSFireHydrant>();
    hydrant->SetX(100);
    hydrant->SetY(100);
    p->AddWaterSource(std::move(hydrant));
    auto pier = std::make_unique<TWSPier>();
    pier->SetX(200);
    pier->SetY(100);
    p->AddWaterSource(std::move(pier));
    const QRgb Blue = qRgb(0, 0, 255);
    auto blue = [&](const QImage& img, QRect area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += At(img, x, y) == Blue;
        return n;
    };
    // At 200 % a view starting at the hydrant's middle row shows its lower half: the left
    // quarter is blue, the right one white, nothing outside the circle.
    QImage cut;
    p->PaintRooms(cut, View(200, { 150, 200 }, { 100, 40 }));
    EXPECT_GT(blue(cut, QRect(32, 2, 14, 10)), 100);
    EXPECT_EQ(blue(cut, QRect(54, 0, 20, 40)), 0);
    EXPECT_EQ(blue(cut, QRect(0, 0, 25, 40)), 0);
    // At 25 % both halves are a few pixels, and the fills stay inside their shapes.
    QImage small;
    p->PaintRooms(small, View(25, {}, { 75, 50 }));
    EXPECT_GT(blue(small, QRect(22, 22, 3, 6)), 0);
    EXPECT_GT(blue(small, QRect(45, 21, 5, 9)), 0);
    EXPECT_EQ(blue(small, QRect(0, 0, 20, 50)), 0);
    EXPECT_EQ(blue(small, QRect(0, 0, 75, 18)), 0);
}
