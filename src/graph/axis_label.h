#pragma once
// The title, unit and precision of one axis of a graph, and the texts built from them for
// read-outs, the point list and the rulers' tips. Titles and units are typed by the user: they
// are joined to the number as text, never used as a format.

#include <string>

namespace graph {

// A number with a fixed count of decimals, the same in every locale ("%0.*f" in the C locale).
std::string FormatFixed(double value, int decimals);

class CGraphAxisLabel {
public:
    static constexpr int kDefaultDecimals = 3;

    // The three styles of FormatValue.
    enum Style : int {
        kValue = 0,          // 12.50
        kValueAndUnit = 1,   // 12.50 dB
        kNameValueUnit = 2,  // Value: 12.50 dB
    };

    void SetName(const std::string& name) { m_name = name; }
    void SetUnit(const std::string& unit) { m_unit = unit; }
    void SetDecimals(int decimals) { m_decimals = decimals; }
    const std::string& GetName() const { return m_name; }
    const std::string& GetUnit() const { return m_unit; }
    int GetDecimals() const { return m_decimals; }
    void Clear();

    // Empty for a style above 2.
    std::string FormatValue(double value, int style) const;
    // "title, unit".
    std::string GetCaption() const;

private:
    std::string m_name;
    std::string m_unit;
    int m_decimals = kDefaultDecimals;
};

}  // namespace graph
