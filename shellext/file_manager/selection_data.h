#pragma once
// The host's data object: the selected files as a drop list, in the one form a
// context-menu handler asks for (CF_HDROP, content, index -1, global memory). The drop
// list lives as long as the object; a medium handed out holds a reference to it.
#include <atomic>
#include <string>
#include <vector>

#include "shellext/com/data_object.h"

class SelectionData final : public com::IDataObject {
public:
    // With one reference, the caller's.
    explicit SelectionData(const std::vector<std::string>& files) : drop_(files) {}
    SelectionData(const SelectionData&) = delete;
    SelectionData& operator=(const SelectionData&) = delete;

    com::HRESULT QueryInterface(const com::GUID& iid, void** object) override;
    std::uint32_t AddRef() override { return ++references_; }
    std::uint32_t Release() override;
    com::HRESULT GetData(const com::FORMATETC* format, com::STGMEDIUM* medium) override;

private:
    ~SelectionData() = default;

    com::DropFiles drop_;
    std::atomic<std::uint32_t> references_{1};
};
