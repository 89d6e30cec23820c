#pragma once
// The brush-stroke painter: starting from the mean colour, levels of ever smaller round
// brushes dab colours picked from the source around random centres.

#include <cstdint>
#include <functional>
#include <random>

class CvxDIB;

// The painter's random numbers; seeded once per painting so a seed repeats a painting.
class StrokeRandom {
public:
    explicit StrokeRandom(std::uint32_t seed) : m_engine(seed) {}
    // A seed taken from the clock, so that two paintings differ.
    static std::uint32_t ClockSeed();
    // Uniform in 0..1, both ends included.
    double Uniform();
    // Roughly normal with mean 0 and deviation sigma: twelve uniforms less 6.
    double Gauss(double sigma);

private:
    std::mt19937 m_engine;
};

enum class PaintResult { Refused, Finished, Halted };

// Called as the painting progresses (every tenth of a level's strokes) with the painting
// so far, so that it can be shown.
using PaintProgress = std::function<void(const CvxDIB& painting)>;

// Paints source into destination (32-bit images of the same size; the destination is
// normally a copy of the source). Stops at once, keeping what is painted, when the user
// presses a key. Refused when the images do not fit.
PaintResult PaintStrokes(CvxDIB& destination, const CvxDIB& source, StrokeRandom& random,
                         const PaintProgress& progress = {});
