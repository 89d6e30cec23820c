#pragma once
// The round, randomly scattered brush of the painting tools: the random model, the points a
// stroke records, and one dab of each tool. A dab draws straight onto what the user sees (a
// surface in canvas coordinates) and records the points it touched, with their new colour,
// so that the stroke can be written into the object in one step when the button goes up.
// Colours are 0x00BBGGRR throughout.

#include <cstddef>
#include <cstdint>

#include "image/DibTypes.h"
#include "image/TouchedPoints.h"

class CvxDIB;

// Integers 0 to 32767 from a seedable generator, and the two values the dabs draw from them:
// U, uniform in 0..1, and G(sigma), roughly normal with deviation sigma.
class BrushRandom {
public:
    explicit BrushRandom(std::uint32_t seed = 1) : m_state(seed) {}
    void Seed(std::uint32_t seed) { m_state = seed; }
    // A seed from the clock, so that two strokes scatter differently.
    static std::uint32_t ClockSeed();
    int Next() {
        m_state = m_state * 214013u + 2531011u;
        return int((m_state >> 16) & 0x7FFF);
    }
    double U() { return Next() * kScale; }
    double G(double sigma);

private:
    static constexpr double kScale = 1.0 / 32767;
    std::uint32_t m_state;
};

// What a dab paints on: the picture on screen, read and written one canvas point at a time.
class DabSurface {
public:
    virtual std::uint32_t GetPixel(CPoint canvas) = 0;
    virtual void SetPixel(CPoint canvas, std::uint32_t colour) = 0;

protected:
    ~DabSurface() = default;
};

// One dab: where it lands, the brush size, the target's bounding rectangle (only points in it
// are painted on the surface), and where the touched points are recorded.
struct Dab {
    DabSurface& surface;
    TouchedPoints& stroke;
    BrushRandom& random;
    CPoint at;
    int size = 1;
    CRect bounds;
};

namespace brushdabs {

constexpr std::size_t kStrokeCapacity = 131072;
constexpr std::size_t kKneadedStrokeCapacity = 262144;

// Dots per dab: the solid brush from its viscosity (48 to 4096), the smudge and the kneaded
// eraser from their pressure (48 to 4096).
int SolidBrushDots(int viscosity);
int PressureDots(int pressure);

// Each returns the number of dots thrown.
int SolidBrush(const Dab& dab, std::uint32_t colour, int viscosity);
int Airbrush(const Dab& dab, std::uint32_t colour);
// Marks the whole disc in the colour (what will be cleared); returns the points marked.
int Eraser(const Dab& dab, std::uint32_t colour);
// Mixes towards the underlayer (what lies beneath the target, its top-left pixel at
// `underlayerOrigin` on the canvas) the more often a point is hit within the dab.
int KneadedEraser(const Dab& dab, int pressure, const CvxDIB& underlayer, CPoint underlayerOrigin);
int Smudge(const Dab& dab, int pressure);

}  // namespace brushdabs
