#pragma once
// Plane coordinate geometry: X is the northing, Y the easting, azimuths run
// clockwise from north.

namespace korvane {

// Azimuth in decimal degrees of the direction from point 2 to point 1
// (the point the direction points to comes first).
double AzimuthFromPoints(double x1, double y1, double x2, double y2);
// Polar point from an azimuth in DMS notation, rounded to millimetres.
double PolarX(double azimuthDms, double x0, float distance);
double PolarY(double azimuthDms, double y0, float distance);
double PointDistance(double x1, double y1, double x2, double y2);

}  // namespace korvane
