#include "geometry/Vector.h"

#include <cmath>

namespace {

std::unique_ptr<NumScalar> NewElement(char kindLetter) {
    if (kindLetter == 'C') return std::make_unique<Complex>();
    return std::make_unique<Real>();
}

}  // namespace

Vector::Vector(const std::string& kind, int count) : NumObject(kind, "Vector") {
    const char letter = kind.empty() ? '\0' : kind[0];
    m_pScratch = NewElement(letter);
    if ((letter != 'R' && letter != 'C') || count < 0) {
        SetStatus(numeric::kError);
        return;
    }
    m_elements.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) m_elements.push_back(NewElement(letter));
}

const NumScalar& Vector::Dot(const Vector& other) {
    m_pScratch->AssignValue(0.0);
    if (other.Count() != Count() || IsError() || other.IsError()) {
        m_pScratch->SetStatus(numeric::kError);
        return *m_pScratch;
    }
    m_pScratch->SetStatus(numeric::kGood);
    for (int i = 0; i < Count(); ++i) {
        auto term = other[i].Copy();
        term->Conjugate();
        term->MulAssign((*this)[i]);
        m_pScratch->AddAssign(*term);
    }
    return *m_pScratch;
}

double Vector::Norm() { return std::sqrt(Dot(*this).Abs()); }
