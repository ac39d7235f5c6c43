// Matrix helpers of the view model. Matrices apply to row vectors (p' = p · M), the translation
// sits in the fourth row and A · B applies A first.
#pragma once

using Mat4 = double[4][4];

void MatIdt(Mat4 m);
void MatCpy(Mat4 d, const Mat4 s);
void MatMul(const Mat4 a, const Mat4 b, Mat4 out);       // out = a · b (out may alias a or b)
void MatTrn(const Mat4 m, Mat4 out);                     // transpose
void MatRx(double a, Mat4 m);
void MatRy(double a, Mat4 m);
void MatRz(double a, Mat4 m);
void MatT(double x, double y, double z, Mat4 m);
void MatS(double x, double y, double z, Mat4 m);
void MatAffInv(const Mat4 m, Mat4 out);                  // rows orthogonal: rotation · scale + translation
void PntMul(const double p[3], const Mat4 m, double out[3]);   // (p, 1) · m
void VecMul(const double v[3], const Mat4 m, double out[3]);   // (v, 0) · m

// R = Rx(ax) · Ry(ay) · Rz(az) and back (|ay| <= 90 degrees; ax = 0 when |cos ay| <= 0.001).
void AngRot(const double ang[3], Mat4 r);
void RotAng(const Mat4 r, double ang[3]);
// Angles of the rotation whose right and up rows are r and u (third row r × u).
void VecAng(const double r[3], const double u[3], double ang[3]);

void Cross(const double a[3], const double b[3], double out[3]);
double Dot(const double a[3], const double b[3]);
double Norm(double v[3]);   // normalises in place when the length is positive; returns the length
