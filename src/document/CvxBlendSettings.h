#pragma once
// The seven-field record of an object's edge effect. What the fields do to pixels belongs to
// the edge effects; the document stores, compares, copies and restores the record as a unit.

#include <cstdint>

struct CvxBlendSettings {
    // Blend modes: 0 none, 1 blend, 2 feather, 3 partial transparency; 4 and 5 are the two
    // internal passes of 3 with an automatic blend or feather.
    std::int32_t mode = 0;
    std::int32_t amplitude = 0;      // percent of overall transparency
    std::int32_t gradient = 1012;    // gradient button identifier, 1012 … 1022 (1021 "NONE")
    std::int32_t autoBlend = 1;      // flag
    std::int32_t autoFeather = 0;    // flag
    std::int32_t featherWidth = 10;  // feather width used with partial transparency
    std::int32_t period = 300;

    bool operator==(const CvxBlendSettings&) const = default;
};
