#pragma once
// Scalars of the numeric library: an abstract NumScalar with the arithmetic every kind
// shares, and the two kinds Real and Complex. Operations that create a result pick its
// type from the first letter of the other operand's kind; an unknown kind gives a Real 0
// whose status is "error".

#include <memory>

#include "geometry/NumObject.h"

class Vector;

class NumScalar : public NumObject {
public:
    double Re() const { return m_pValue[0]; }
    double Im() const { return m_bComplexValued ? m_pValue[1] : 0.0; }
    bool IsComplexValued() const { return m_bComplexValued; }

    std::unique_ptr<NumScalar> Add(const NumScalar& other) const;
    void AddAssign(const NumScalar& other);
    void SubAssign(const NumScalar& other);
    // A new vector holding every element of the argument times this.
    std::unique_ptr<Vector> MulVector(const Vector& vector) const;
    std::unique_ptr<NumScalar> Mul(const NumScalar& other) const;
    // Multiplies every element of the vector in place by this.
    void ScaleVector(Vector& vector) const;
    void MulAssign(const NumScalar& other);
    std::unique_ptr<NumScalar> Div(const NumScalar& other) const;
    void DivAssign(const NumScalar& other);
    void AssignValue(double value);
    void Assign(const NumScalar& other);
    void Negate();
    // True when |this| > |other|, strictly.
    virtual bool AbsGreater(const NumScalar& other) const = 0;
    virtual double Abs() const = 0;
    virtual void Conjugate() = 0;
    std::unique_ptr<NumScalar> NewZeroLike(const NumObject& other) const;
    std::unique_ptr<NumScalar> NewOneLike(const NumObject& other) const;

    // A new scalar of this one's type holding the same value.
    std::unique_ptr<NumScalar> Copy() const;

protected:
    NumScalar(const char* kind, double* storage, bool complexValued)
        : NumObject(kind, kind), m_pValue(storage), m_bComplexValued(complexValued) {}
    // Writes a result; a real-valued scalar keeps the real part.
    void Store(double re, double im) {
        m_pValue[0] = re;
        if (m_bComplexValued) m_pValue[1] = im;
    }

private:
    // The type a created result takes for an operand of the given kind, holding 0.
    std::unique_ptr<NumScalar> NewResultFor(const NumObject& other) const;

    double* m_pValue;
    bool m_bComplexValued;
};

class Real final : public NumScalar {
public:
    explicit Real(double value = 0.0) : NumScalar("Real", &m_value, false), m_value(value) {}
    bool AbsGreater(const NumScalar& other) const override;
    double Abs() const override;
    void Conjugate() override {}

private:
    double m_value;
};

class Complex final : public NumScalar {
public:
    explicit Complex(double re = 0.0, double im = 0.0)
        : NumScalar("Complex", m_value, true), m_value{re, im} {}
    // Compares squared magnitudes, so no square root is taken.
    bool AbsGreater(const NumScalar& other) const override;
    double Abs() const override;
    void Conjugate() override { m_value[1] = -m_value[1]; }

private:
    double m_value[2];
};
