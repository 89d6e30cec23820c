#pragma once
// The live-wire path search behind the edge clip tool: a bounded beam search over an edge map
// (see EdgeMap.h) that follows strong edges while heading for a target point. Eight partial
// paths advance one pixel per round, each scored by the edge strength it runs over and by how
// well each step points at the target; the eight best extensions survive every round.

#include <span>

#include "image/DibTypes.h"

class CvxDIB;

// Searches an 8-connected chain of pixels from start towards end over edgeImage's edge data;
// points have y = 0 at the top. response (0 to 4) is the bonus of the step that points best
// at the target: larger values give straighter paths, smaller ones let edges pull the path
// aside. end is the target on entry and the last returned point on return.
//
// Returns r, the number of points returned: path[0] = start ... path[r - 1] = the new end.
// path[r] is written too: the last position of the chosen beam (the lowest-scoring survivor
// of the last round, which need not be the one that reached the target), or, when the search
// gave up short of the target, the path point nearest to it. The search never writes past path's end: a path that
// would need more room ends there as if the search had given up. Results:
//   0  start equals end (path[0] and path[1] receive start; end unchanged), or no step away
//      from start came nearer the target (path[0] = start; end becomes start);
//  -1  the image has no edge data, start lies outside it, path holds fewer than two points,
//      or memory ran out.
int BestPath(const CvxDIB& edgeImage, CPoint start, CPoint& end, std::span<CPoint> path, double response);
