#include "core/viewmath.h"
#include <cmath>
#include <cstring>

void MatIdt(Mat4 m) {
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++) m[i][j] = i == j ? 1.0 : 0.0;
}

void MatCpy(Mat4 d, const Mat4 s) { std::memcpy(d, s, sizeof(double) * 16); }

void MatMul(const Mat4 a, const Mat4 b, Mat4 out) {
    double r[4][4];
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + a[i][3] * b[3][j];
    MatCpy(out, r);
}

void MatTrn(const Mat4 m, Mat4 out) {
    double r[4][4];
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++) r[i][j] = m[j][i];
    MatCpy(out, r);
}

void MatRx(double a, Mat4 m) {
    double c = std::cos(a), s = std::sin(a);
    MatIdt(m);
    m[1][1] = c; m[1][2] = s;
    m[2][1] = -s; m[2][2] = c;
}

void MatRy(double a, Mat4 m) {
    double c = std::cos(a), s = std::sin(a);
    MatIdt(m);
    m[0][0] = c; m[0][2] = -s;
    m[2][0] = s; m[2][2] = c;
}

void MatRz(double a, Mat4 m) {
    double c = std::cos(a), s = std::sin(a);
    MatIdt(m);
    m[0][0] = c; m[0][1] = s;
    m[1][0] = -s; m[1][1] = c;
}

void MatT(double x, double y, double z, Mat4 m) {
    MatIdt(m);
    m[3][0] = x; m[3][1] = y; m[3][2] = z;
}

void MatS(double x, double y, double z, Mat4 m) {
    MatIdt(m);
    m[0][0] = x; m[1][1] = y; m[2][2] = z;
}

void MatAffInv(const Mat4 m, Mat4 out) {
    double r[4][4];
    MatIdt(r);
    double len2[3];
    for (int i = 0; i < 3; i++) {
        len2[i] = m[i][0] * m[i][0] + m[i][1] * m[i][1] + m[i][2] * m[i][2];
        if (len2[i] <= 0) len2[i] = 1;
    }
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) r[j][i] = m[i][j] / len2[i];
    for (int i = 0; i < 3; i++)
        r[3][i] = -(m[3][0] * m[i][0] + m[3][1] * m[i][1] + m[3][2] * m[i][2]) / len2[i];
    MatCpy(out, r);
}

void PntMul(const double p[3], const Mat4 m, double out[3]) {
    double r[3];
    for (int j = 0; j < 3; j++) r[j] = p[0] * m[0][j] + p[1] * m[1][j] + p[2] * m[2][j] + m[3][j];
    out[0] = r[0]; out[1] = r[1]; out[2] = r[2];
}

void VecMul(const double v[3], const Mat4 m, double out[3]) {
    double r[3];
    for (int j = 0; j < 3; j++) r[j] = v[0] * m[0][j] + v[1] * m[1][j] + v[2] * m[2][j];
    out[0] = r[0]; out[1] = r[1]; out[2] = r[2];
}

void AngRot(const double ang[3], Mat4 r) {
    double x[4][4], y[4][4], z[4][4];
    MatRx(ang[0], x);
    MatRy(ang[1], y);
    MatRz(ang[2], z);
    MatMul(x, y, r);
    MatMul(r, z, r);
}

void RotAng(const Mat4 r, double ang[3]) {
    // Row 0 is (cy cz, cy sz, -sy); row 1 ends in sx cy, row 2 in cx cy.
    double sy = -r[0][2];
    if (sy > 1) sy = 1;
    if (sy < -1) sy = -1;
    double ay = std::asin(sy);
    double cy = std::cos(ay);
    if (std::fabs(cy) > 0.001) {
        ang[0] = std::atan2(r[1][2], r[2][2]);
        ang[1] = ay;
        ang[2] = std::atan2(r[0][1], r[0][0]);
    } else {
        // Gimbal lock: with ax = 0 row 1 is (-sz, cz, 0).
        ang[0] = 0;
        ang[1] = ay;
        ang[2] = std::atan2(-r[1][0], r[1][1]);
    }
}

void VecAng(const double r[3], const double u[3], double ang[3]) {
    double m[4][4];
    MatIdt(m);
    double b[3];
    Cross(r, u, b);
    for (int j = 0; j < 3; j++) { m[0][j] = r[j]; m[1][j] = u[j]; m[2][j] = b[j]; }
    RotAng(m, ang);
}

void Cross(const double a[3], const double b[3], double out[3]) {
    double r[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    out[0] = r[0]; out[1] = r[1]; out[2] = r[2];
}

double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

double Norm(double v[3]) {
    double l = std::sqrt(Dot(v, v));
    if (l > 0) { v[0] /= l; v[1] /= l; v[2] /= l; }
    return l;
}
