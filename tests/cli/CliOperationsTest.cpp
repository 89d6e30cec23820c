// marrowfin-cli OP IN OUT: the saved picture is the core operation's result on the picture
// as convert loads it, byte for byte, alpha included.

#include <functional>

#include "colour/ColorReduce.h"
#include "colour/Contrast.h"
#include "colour/Equalize.h"
#include "colour/HsiAdjust.h"
#include "colour/Invert.h"
#include "colour/ToneCurves.h"
#include "edgeclip/EdgeMap.h"
#include "filters/ArtisticEffects.h"
#include "filters/NeighbourhoodFilters.h"
#include "support/TestSupport.h"

namespace {

using testsupport::CliPath;
using testsupport::RunCommand;

// Written from the working picture into a new one of its size.
using Operation = std::function<std::unique_ptr<CvxDIB>(const CvxDIB&)>;

Operation InPlace(std::function<void(CvxDIB&)> change) {
    return [change](const CvxDIB& source) {
        auto result = source.Clone();
        change(*result);
        return result;
    };
}

Operation Into(std::function<void(CvxDIB&, const CvxDIB&)> filter) {
    return [filter](const CvxDIB& source) {
        auto result = std::make_unique<CvxDIB>();
        result->Create(source.Width(), source.Height(), 32);
        filter(*result, source);
        return result;
    };
}

std::unique_ptr<CvxDIB> ReducedWithEdges(const CvxDIB& source) {
    auto reduced = std::make_unique<CvxDIB>();
    reduced->Create(source.Width(), source.Height(), 8);
    ColorReduce(source, *reduced, 256);
    MakeEdgeMap(*reduced);
    return reduced;
}

Operation Painted(std::function<EffectResult(const CvxDIB&, StrokeRandom&)> effect, std::uint32_t seed) {
    return [effect, seed](const CvxDIB& source) {
        StrokeRandom random(seed);
        return effect(source, random).image;
    };
}

TEST(CliOperations, SaveTheCoreResultOfEachOperation) {
    testsupport::TempDir dir;
    // A 24-bit picture with gradients, a dark and a light patch; loading clamps its extremes.
    CvxDIB input;
    ASSERT_TRUE(input.Create(48, 36, 24));
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 48; ++x) {
            std::uint8_t* p = input.PixelAt(x, y);
            const bool patch = x > 30 && y > 20;
            p[0] = std::uint8_t(patch ? 0 : x * 5), p[1] = std::uint8_t(patch ? 0 : y * 7);
            p[2] = std::uint8_t(x < 8 ? 255 : (x * y) % 256);
        }
    ASSERT_TRUE(input.SaveToFile(dir.File("in.bmp")));
    CvxDIB loaded;
    ASSERT_TRUE(loaded.LoadFromFile(dir.File("in.bmp")));
    const auto working = loaded.ConvertTo32(true);

    const struct {
        std::string op;
        Operation expected;
    } cases[] = {
        {"gray", InPlace([](CvxDIB& i) { ToGray(i); })},
        {"sepia", InPlace([](CvxDIB& i) { ApplySepia(i); })},
        {"invert", Into(Invert)},
        {"equalize", InPlace([](CvxDIB& i) { Equalize(i); })},
        {"contrast+", Into([](CvxDIB& r, const CvxDIB& s) { Contrast(r, s, 0.02); })},
        {"contrast-", Into([](CvxDIB& r, const CvxDIB& s) { Contrast(r, s, -0.02); })},
        {"smooth", Into(Smooth)},
        {"sharpen", Into(Sharpen)},
        {"despeckle", Into(Despeckle)},
        {"reduce", InPlace([](CvxDIB& i) {
             CvxDIB reduced;
             reduced.Create(i.Width(), i.Height(), 8);
             ColorReduce(i, reduced, 256);
             RefreshFromPalette(i, reduced);
         })},
        {"sketch", [](const CvxDIB& s) { return SketchEffect(s, *ReducedWithEdges(s)); }},
        {"chalk", Painted([](const CvxDIB& s, StrokeRandom& r) { return ChalkEffect(s, r); }, 1)},
        {"charcoal --seed 9", Painted([](const CvxDIB& s, StrokeRandom& r) { return CharcoalEffect(s, *ReducedWithEdges(s), r); }, 9)},
        {"paint --seed 4", Painted([](const CvxDIB& s, StrokeRandom& r) { return PaintEffect(s, r); }, 4)},
        {"edgemap", Into([](CvxDIB& r, const CvxDIB& s) {
             const auto reduced = ReducedWithEdges(s);
             for (int y = 0; y < s.Height(); ++y)
                 for (int x = 0; x < s.Width(); ++x) {
                     const std::uint8_t edge = reduced->m_pEdgeMap[std::size_t(reduced->RowAt(y) - reduced->Bits()) + std::size_t(x)];
                     std::uint8_t* p = r.PixelAt(x, y);
                     p[0] = p[1] = p[2] = edge;
                 }
         })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.op);
        const std::string out = dir.File("out.bmp");
        const auto result = RunCommand(CliPath() + " " + c.op + " '" + dir.File("in.bmp") + "' '" + out + "'");
        ASSERT_EQ(result.status, 0) << result.output;
        CvxDIB saved;
        ASSERT_TRUE(saved.LoadFromFile(out));
        ASSERT_EQ(saved.BitCount(), 32);
        EXPECT_EQ(testsupport::PixelHash(saved), testsupport::PixelHash(*c.expected(*working)));
    }

    const auto help = RunCommand(CliPath() + " --help");
    EXPECT_EQ(help.status, 0);
    for (const char* op : {"gray", "contrast+", "contrast-", "charcoal", "paint", "edgemap", "--seed"})
        EXPECT_NE(help.output.find(op), std::string::npos) << op;
    EXPECT_EQ(RunCommand(CliPath() + " paint --seed x '" + dir.File("in.bmp") + "' o.bmp").status, 2);
}

}  // namespace
