#pragma once
// The live 3-D "Spectrum" window, which exists only once the operator opened it: each spectrum
// record's band words (every band of its kind, the overall level last) become its next row.

#include <cstdint>
#include <span>

namespace acquisition {

class LiveSpectrumWindow {
public:
    virtual ~LiveSpectrumWindow() = default;

    virtual bool HasWindow() const = 0;
    virtual void Hide() = 0;
    virtual void AddRow(std::span<const std::uint16_t> bands) = 0;
    virtual void ClearRows() = 0;
};

}  // namespace acquisition
