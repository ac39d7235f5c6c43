// Segment intersection shared by curve editing, picking and terrain generation.
#pragma once

// Returns the count: 1 proper crossing, 2 collinear overlap (first overlap point), 0 none or a
// segment shorter than 0.001, -1 when ends touch within 0.001. out receives up to two points.
int IntscSeg(const double a[2], const double b[2], const double c[2], const double d[2],
             double out[2][2]);
