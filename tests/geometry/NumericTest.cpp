#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <sstream>

#include "geometry/Matrix.h"

namespace {

// A scalar of a kind the library does not know.
class QuaternionScalar final : public NumScalar {
public:
    QuaternionScalar() : NumScalar("Quaternion", &m_value, false) {}
    bool AbsGreater(const NumScalar& other) const override { return Abs() > other.Abs(); }
    double Abs() const override { return std::fabs(m_value); }
    void Conjugate() override {}

private:
    double m_value = 2.0;
};

// "kind re im status" of a scalar, so that one comparison states everything a result carries.
std::string Show(const NumScalar& s) {
    std::ostringstream out;
    out << s.TypeName() << ' ' << s.Re() << ' ' << s.Im() << ' ' << s.Status();
    return out.str();
}

// "status: a b c" of a vector and "status: row; row" of a matrix, real parts only.
std::string Show(const Vector& v) {
    std::ostringstream out;
    out << v.Status() << ':';
    for (int i = 0; i < v.Count(); ++i) out << ' ' << v[i].Re();
    return out.str();
}
std::string Show(const Matrix& m) {
    std::ostringstream out;
    out << m.Status() << ':';
    for (int r = 0; r < m.Rows(); ++r)
        for (int c = 0; c < m.Columns(); ++c) out << (c ? " " : r ? "; " : " ") << m[r][c].Re();
    return out.str();
}

std::unique_ptr<Matrix> RealMatrix(std::initializer_list<std::initializer_list<double>> rows) {
    auto m = std::make_unique<Matrix>("Real", static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
    int r = 0;
    for (const auto& row : rows) {
        int c = 0;
        for (double v : row) (*m)[r][c++].AssignValue(v);
        ++r;
    }
    return m;
}

std::unique_ptr<Vector> RealVector(std::initializer_list<double> values) {
    auto v = std::make_unique<Vector>("Real", static_cast<int>(values.size()));
    int i = 0;
    for (double x : values) (*v)[i++].AssignValue(x);
    return v;
}

TEST(NumScalar, ResultsFollowTheOperandsKindsAndUnknownKindsGiveAFlaggedRealZero) {
    const Real one(1), two(2);
    const Complex i(0, 1), a(1, 2), b(3, 4);
    const QuaternionScalar odd;
    const std::pair<std::unique_ptr<NumScalar>, const char*> cases[] = {
        {two.Add(Real(3)), "Real 5 0 good"},
        {two.Mul(i), "Complex 0 2 good"},
        {i.Add(two), "Complex 2 1 good"},  // a complex left operand keeps its imaginary part
        {a.Mul(b), "Complex -5 10 good"},
        {Complex(11, 2).Div(Complex(5, 0)), "Complex 2.2 0.4 good"},
        {one.Add(odd), "Real 0 0 error"},
        {one.Mul(odd), "Real 0 0 error"},
        {one.Div(odd), "Real 0 0 error"},
        {Complex(1, 1).Add(odd), "Real 0 0 error"},
        {one.NewZeroLike(odd), "Real 0 0 error"},
        {one.NewOneLike(odd), "Real 0 0 error"},
    };
    for (const auto& [result, expected] : cases) EXPECT_EQ(Show(*result), expected);
    const auto quotient = a.Div(b);  // (1 + 2i)(3 - 4i) / 25
    EXPECT_DOUBLE_EQ(quotient->Re(), 11.0 / 25.0);
    EXPECT_DOUBLE_EQ(quotient->Im(), 2.0 / 25.0);

    EXPECT_EQ(b.Abs(), 5.0);
    EXPECT_TRUE(b.AbsGreater(Real(-4.9)));
    EXPECT_FALSE(b.AbsGreater(Complex(0, -5)));  // strictly greater only
    EXPECT_TRUE(Real(-3).AbsGreater(Real(2.5)));
    Complex c(2, -7);
    c.Conjugate();
    EXPECT_EQ(Show(c), "Complex 2 7 good");
    Real r(2);
    r.Conjugate();
    EXPECT_EQ(Show(r), "Real 2 0 good");
}

TEST(NumScalar, InPlaceOperationsOnARealKeepTheRealPartAndScaleVectors) {
    Real r(6);
    r.MulAssign(Complex(0.5, 3));
    EXPECT_EQ(Show(r), "Real 3 0 good");
    r.SubAssign(Real(1));
    r.DivAssign(Real(4));
    r.Negate();
    EXPECT_EQ(r.Re(), -0.5);
    r.Assign(Complex(9, 9));
    EXPECT_EQ(Show(r), "Real 9 0 good");
    Complex z;
    z.Assign(Real(4));
    z.AddAssign(Complex(0, 1));
    EXPECT_EQ(Show(z), "Complex 4 1 good");
    z.AssignValue(2);
    EXPECT_EQ(z.Im(), 0.0);

    const auto owned = RealVector({1, 2, 3});
    Vector& v = *owned;
    EXPECT_EQ(Show(*Real(2).MulVector(v)), "good: 2 4 6");
    const auto rotated = Complex(0, 1).MulVector(v);
    EXPECT_EQ(Show((*rotated)[1]), "Complex 0 2 good");
    Real(-1).ScaleVector(v);
    EXPECT_EQ(Show(v), "good: -1 -2 -3");
}

TEST(Vector, DotConjugatesTheOtherOperandAndFlagsMismatches) {
    Vector a("Complex", 1), b("Complex", 1);
    a[0].Assign(Complex(1, 2));
    b[0].Assign(Complex(3, -1));
    const NumScalar& dot = a.Dot(b);  // (3 + i)(1 + 2i)
    EXPECT_EQ(Show(dot), "Complex 1 7 good");
    EXPECT_EQ(&dot, &a.Scratch());
    a[0].Assign(Complex(3, 4));
    EXPECT_EQ(a.Norm(), 5.0);
    const auto r3 = RealVector({3, -4});
    Vector& r = *r3;
    EXPECT_EQ(r.Norm(), 5.0);

    const Vector longer("Real", 3);
    EXPECT_EQ(Show(r.Dot(longer)), "Real 0 0 error");
    EXPECT_EQ(r.Dot(r).Status(), "good");  // a later good product clears the flag

    EXPECT_EQ(Show(Vector("Quaternion", 4)), "error:");
    EXPECT_EQ(Show(Vector("Real", -1)), "error:");
    EXPECT_EQ(Show(Matrix("Quaternion", 2, 2)), "error:");
}

TEST(Matrix, IdentityCopyAndProductWithAVector) {
    const auto m = RealMatrix({{1, 2, 3}, {4, 5, 6}});
    EXPECT_EQ(m->Identity()->TypeName(), "Matrix");
    EXPECT_EQ(Show(*m->Identity()), "good: 1 0 0; 0 1 0; 0 0 1");
    EXPECT_EQ(Matrix("Real", 0, 0).Identity()->Rows(), 0);
    EXPECT_EQ(Matrix("Complex", 2, 2).Identity()->Kind(), "Complex");

    const auto product = m->MulVector(*RealVector({1, 2, 3}));
    EXPECT_EQ(product->TypeName(), "Vector");
    EXPECT_EQ(Show(*product), "good: 14 32");
    EXPECT_EQ(Show(*m->MulVector(*RealVector({7}))), "error: 0 0");
    EXPECT_EQ(m->MulVector(Vector("Complex", 3))->Status(), "error");
    EXPECT_EQ(m->MulVector(Vector("Complex", 3))->Kind(), "Complex");

    Matrix copy("Real", 2, 3), otherShape("Real", 3, 2), otherKind("Complex", 2, 3);
    for (Matrix* target : {&copy, &otherShape, &otherKind}) target->CopyFrom(*m);
    EXPECT_EQ(Show(copy), "good: 1 2 3; 4 5 6");
    EXPECT_EQ(Show(otherShape), "good: 0 0; 0 0; 0 0");
    EXPECT_EQ(Show(otherKind), "good: 0 0 0; 0 0 0");
}

// The eight-by-eight systems the warp solves are checked through its corners in WarpTest.
TEST(MatrixInverse, PivotsSwapsAndRefusals) {
    // A pivot of size 1e-05 is the floor: at it (either sign) the inverse fails, just above it works.
    EXPECT_EQ(RealMatrix({{1, 0}, {0, 1e-05}})->Inverse()->Status(), "error");
    EXPECT_EQ(RealMatrix({{-1e-05, 0}, {0, 1}})->Inverse()->Status(), "error");
    EXPECT_EQ(RealMatrix({{-2e-05, 0}, {0, 1}})->Inverse()->Status(), "good");
    EXPECT_DOUBLE_EQ((*RealMatrix({{1, 0}, {0, 1.1e-05}})->Inverse())[1][1].Re(), 1.0 / 1.1e-05);
    // Singular, empty and non-square matrices.
    EXPECT_EQ(RealMatrix({{1, 2}, {2, 4}})->Inverse()->Status(), "error");
    EXPECT_EQ(Matrix("Real", 0, 0).Inverse()->Status(), "error");
    EXPECT_EQ(RealMatrix({{1, 0, 0}, {0, 1, 0}})->Inverse()->Status(), "error");
    EXPECT_EQ(RealMatrix({{1, 0}, {0, 1}, {0, 0}})->Inverse()->Status(), "error");

    // A zero on the diagonal swaps rows; the source is left as it was.
    const auto swapped = RealMatrix({{0, 1}, {2, 3}});
    EXPECT_EQ(Show(*swapped->Inverse()), "good: -1.5 0.5; 1 0");
    EXPECT_EQ(Show(*swapped), "good: 0 1; 2 3");

    Matrix complex("Complex", 2, 2);
    complex[0][0].Assign(Complex(0, 1));
    complex[1][1].Assign(Complex(2, 0));
    const auto complexInverse = complex.Inverse();
    EXPECT_EQ(Show((*complexInverse)[0][0]), "Complex 0 -1 good");
    EXPECT_EQ(Show((*complexInverse)[1][1]), "Complex 0.5 0 good");
}

}  // namespace
