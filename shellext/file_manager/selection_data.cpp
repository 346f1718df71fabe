#include "shellext/file_manager/selection_data.h"

com::HRESULT SelectionData::QueryInterface(const com::GUID& iid, void** object) {
    if (!object) return com::E_POINTER;
    if (iid != com::IID_IUnknown && iid != com::IID_IDataObject) {
        *object = nullptr;
        return com::E_NOINTERFACE;
    }
    *object = static_cast<com::IDataObject*>(this);
    AddRef();
    return com::S_OK;
}

std::uint32_t SelectionData::Release() {
    const std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
}

com::HRESULT SelectionData::GetData(const com::FORMATETC* format, com::STGMEDIUM* medium) {
    if (!format || !medium) return com::E_INVALIDARG;
    if (format->cfFormat != com::CF_HDROP || format->dwAspect != com::DVASPECT_CONTENT ||
        format->lindex != -1 || format->ptd)
        return com::DV_E_FORMATETC;
    if (!(format->tymed & com::TYMED_HGLOBAL)) return com::DV_E_TYMED;
    AddRef();
    *medium = {com::TYMED_HGLOBAL, &drop_, this};
    return com::S_OK;
}
