#pragma once
// Root of the small numeric library that the geometry code solves its systems with:
// scalars, vectors and matrices that report failure through a status text instead of
// throwing, so a caller checks one field after a whole chain of operations.

#include <string>
#include <utility>

namespace numeric {
inline constexpr const char* kGood = "good";
inline constexpr const char* kError = "error";
}  // namespace numeric

class NumObject {
public:
    virtual ~NumObject() = default;
    NumObject(const NumObject&) = delete;
    NumObject& operator=(const NumObject&) = delete;

    // "Real" or "Complex"; for a vector or matrix, the kind of its elements.
    const std::string& Kind() const { return m_kind; }
    // "Real", "Complex", "Vector" or "Matrix".
    const std::string& TypeName() const { return m_typeName; }
    const std::string& Status() const { return m_status; }
    void SetStatus(std::string status) { m_status = std::move(status); }
    bool IsError() const { return m_status == numeric::kError; }

protected:
    NumObject(std::string kind, std::string typeName)
        : m_kind(std::move(kind)), m_typeName(std::move(typeName)), m_status(numeric::kGood) {}

private:
    std::string m_kind;
    std::string m_typeName;
    std::string m_status;
};
