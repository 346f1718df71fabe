#pragma once
// A data object that hands over the file manager's selection as a drop list, and the
// drop list itself: the file names one after another, each ended by a NUL.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "shellext/com/com_base.h"

namespace com {

inline constexpr GUID IID_IDataObject = guid("{0000010E-0000-0000-C000-000000000046}");

inline constexpr std::uint16_t CF_HDROP = 15;
inline constexpr std::uint32_t DVASPECT_CONTENT = 1;
inline constexpr std::uint32_t TYMED_HGLOBAL = 1;
inline constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064);
inline constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069);

struct FORMATETC {
    std::uint16_t cfFormat;
    const void* ptd;  // target device
    std::uint32_t dwAspect;
    std::int32_t lindex;
    std::uint32_t tymed;
};

class DropFiles {
public:
    explicit DropFiles(const std::vector<std::string>& files) {
        for (const std::string& f : files) block_.append(f).push_back('\0');
        count_ = static_cast<unsigned>(files.size());
    }
    unsigned count() const { return count_; }
    // The index-th name, or "" past the end.
    std::string_view file(unsigned index) const {
        std::size_t start = 0;
        for (unsigned i = 0; i < index && start < block_.size(); ++i)
            start = block_.find('\0', start) + 1;
        if (start >= block_.size()) return {};
        return std::string_view(block_).substr(start, block_.find('\0', start) - start);
    }

private:
    std::string block_;
    unsigned count_ = 0;
};
using HDROP = const DropFiles*;

// A medium handed out by GetData; ReleaseStgMedium gives it back.
struct STGMEDIUM {
    std::uint32_t tymed;
    HDROP hGlobal;
    IUnknown* pUnkForRelease;  // owns hGlobal
};

inline void ReleaseStgMedium(STGMEDIUM* medium) {
    if (medium->pUnkForRelease) medium->pUnkForRelease->Release();
    *medium = {};
}

// With index 0xFFFFFFFF the number of files; else the index-th name's length, copied
// into `buffer` (cut to size - 1 characters and ended by a NUL) when one is given.
inline unsigned DragQueryFileA(HDROP drop, unsigned index, char* buffer, unsigned size) {
    if (index == 0xFFFFFFFFu) return drop->count();
    const std::string_view name = drop->file(index);
    if (buffer && size > 0) {
        const std::size_t n = std::min<std::size_t>(name.size(), size - 1);
        std::memcpy(buffer, name.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<unsigned>(name.size());
}

class IDataObject : public IUnknown {
public:
    // Fills `medium` with the data in `format`; the caller releases it.
    virtual HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) = 0;

protected:
    ~IDataObject() = default;
};

}  // namespace com
