#include "geometry/NumScalar.h"

#include <cmath>

#include "geometry/Vector.h"

namespace {

struct Value {
    double re, im;
    bool complexValued;
};

Value ValueOf(const NumScalar& scalar) { return {scalar.Re(), scalar.Im(), scalar.IsComplexValued()}; }

// Two real operands take the plain double operation, so real results round exactly as
// ordinary arithmetic would.
Value Sum(const Value& a, const Value& b) { return {a.re + b.re, a.im + b.im, a.complexValued || b.complexValued}; }

Value Difference(const Value& a, const Value& b) {
    return {a.re - b.re, a.im - b.im, a.complexValued || b.complexValued};
}

Value Product(const Value& a, const Value& b) {
    if (!a.complexValued && !b.complexValued) return {a.re * b.re, 0.0, false};
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re, true};
}

// Complex quotient: multiply by the conjugate of the divisor, divide by its squared size.
Value Quotient(const Value& a, const Value& b) {
    if (!a.complexValued && !b.complexValued) return {a.re / b.re, 0.0, false};
    const double size = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / size, (a.im * b.re - a.re * b.im) / size, true};
}

// A new zero for an operand of the given kind: 'R' real (complex when widen is set),
// 'C' complex, anything else a Real marked as an error.
std::unique_ptr<NumScalar> NewZeroForKind(const std::string& kind, bool widen) {
    const char first = kind.empty() ? '\0' : kind[0];
    if (first == 'R' && !widen) return std::make_unique<Real>();
    if (first == 'R' || first == 'C') return std::make_unique<Complex>();
    auto refused = std::make_unique<Real>();
    refused->SetStatus(numeric::kError);
    return refused;
}

}  // namespace

std::unique_ptr<NumScalar> NumScalar::NewResultFor(const NumObject& other) const {
    return NewZeroForKind(other.Kind(), IsComplexValued());
}

std::unique_ptr<NumScalar> NumScalar::Add(const NumScalar& other) const {
    auto result = NewResultFor(other);
    if (result->IsError()) return result;
    const Value v = Sum(ValueOf(*this), ValueOf(other));
    result->Store(v.re, v.im);
    return result;
}

std::unique_ptr<NumScalar> NumScalar::Mul(const NumScalar& other) const {
    auto result = NewResultFor(other);
    if (result->IsError()) return result;
    const Value v = Product(ValueOf(*this), ValueOf(other));
    result->Store(v.re, v.im);
    return result;
}

std::unique_ptr<NumScalar> NumScalar::Div(const NumScalar& other) const {
    auto result = NewResultFor(other);
    if (result->IsError()) return result;
    const Value v = Quotient(ValueOf(*this), ValueOf(other));
    result->Store(v.re, v.im);
    return result;
}

void NumScalar::AddAssign(const NumScalar& other) {
    const Value v = Sum(ValueOf(*this), ValueOf(other));
    Store(v.re, v.im);
}

void NumScalar::SubAssign(const NumScalar& other) {
    const Value v = Difference(ValueOf(*this), ValueOf(other));
    Store(v.re, v.im);
}

void NumScalar::MulAssign(const NumScalar& other) {
    const Value v = Product(ValueOf(*this), ValueOf(other));
    Store(v.re, v.im);
}

void NumScalar::DivAssign(const NumScalar& other) {
    const Value v = Quotient(ValueOf(*this), ValueOf(other));
    Store(v.re, v.im);
}

std::unique_ptr<Vector> NumScalar::MulVector(const Vector& vector) const {
    auto result = std::make_unique<Vector>(IsComplexValued() ? std::string("Complex") : vector.Kind(),
                                           vector.Count());
    for (int i = 0; i < result->Count(); ++i) {
        (*result)[i].Assign(vector[i]);
        (*result)[i].MulAssign(*this);
    }
    return result;
}

void NumScalar::ScaleVector(Vector& vector) const {
    for (int i = 0; i < vector.Count(); ++i) vector[i].MulAssign(*this);
}

void NumScalar::AssignValue(double value) { Store(value, 0.0); }

void NumScalar::Assign(const NumScalar& other) { Store(other.Re(), other.Im()); }

void NumScalar::Negate() { Store(-Re(), -Im()); }

std::unique_ptr<NumScalar> NumScalar::NewZeroLike(const NumObject& other) const {
    return NewZeroForKind(other.Kind(), false);
}

std::unique_ptr<NumScalar> NumScalar::NewOneLike(const NumObject& other) const {
    auto one = NewZeroLike(other);
    if (!one->IsError()) one->AssignValue(1.0);
    return one;
}

std::unique_ptr<NumScalar> NumScalar::Copy() const {
    if (IsComplexValued()) return std::make_unique<Complex>(Re(), Im());
    return std::make_unique<Real>(Re());
}

bool Real::AbsGreater(const NumScalar& other) const { return Abs() > other.Abs(); }

double Real::Abs() const { return std::fabs(m_value); }

bool Complex::AbsGreater(const NumScalar& other) const {
    return m_value[0] * m_value[0] + m_value[1] * m_value[1] > other.Re() * other.Re() + other.Im() * other.Im();
}

double Complex::Abs() const { return std::sqrt(m_value[0] * m_value[0] + m_value[1] * m_value[1]); }
