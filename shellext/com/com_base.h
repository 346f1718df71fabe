#pragma once
// The small part of the component object model that the context-menu server and its
// hosts share: result codes, GUIDs, IUnknown and IClassFactory. Objects are C++ classes
// with these abstract interfaces; a server and its host are built with the same
// compiler, so the interfaces' layout is the same on both sides.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace com {

using HRESULT = std::int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111);

inline constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

struct GUID {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];

    friend bool operator==(const GUID&, const GUID&) = default;

    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in either case; nothing for other text.
    static constexpr std::optional<GUID> parse(std::string_view text) {
        if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
        std::uint8_t bytes[16] = {};
        std::size_t n = 0;
        for (std::size_t i = 1; i < 37; ++i) {
            if (i == 9 || i == 14 || i == 19 || i == 24) {
                if (text[i] != '-') return std::nullopt;
                continue;
            }
            const char c = text[i];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) return std::nullopt;
            bytes[n / 2] = static_cast<std::uint8_t>(bytes[n / 2] << 4 | digit);
            ++n;
        }
        GUID g{};
        g.data1 =
            static_cast<std::uint32_t>(bytes[0]) << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
        g.data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
        g.data3 = static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
        for (int i = 0; i < 8; ++i) g.data4[i] = bytes[8 + i];
        return g;
    }

    // Upper-case text in braces, as parse() reads it.
    std::string text() const {
        char out[39];
        std::snprintf(out, sizeof out, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                      static_cast<unsigned>(data1), data2, data3, data4[0], data4[1], data4[2],
                      data4[3], data4[4], data4[5], data4[6], data4[7]);
        return out;
    }
};

consteval GUID guid(std::string_view text) {
    return GUID::parse(text).value();
}

inline constexpr GUID IID_IUnknown = guid("{00000000-0000-0000-C000-000000000046}");
inline constexpr GUID IID_IClassFactory = guid("{00000001-0000-0000-C000-000000000046}");

// Reference counting and interface queries. An object lives while it has references;
// QueryInterface adds one to what it hands out.
class IUnknown {
public:
    virtual HRESULT QueryInterface(const GUID& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    // A new object, asked for `iid`; `outer` must be null (no aggregation).
    virtual HRESULT CreateInstance(IUnknown* outer, const GUID& iid, void** object) = 0;
    // Keeps the server loaded while locked.
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

}  // namespace com
