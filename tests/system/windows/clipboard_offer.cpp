// clipboard_offer.exe image PICTURE.bmp READY_FILE
// clipboard_offer.exe image-plain PICTURE.bmp READY_FILE
// clipboard_offer.exe file PATH READY_FILE
//
// Puts on the Windows clipboard what another program would: the pixels of a BMP
// file as a device-independent bitmap (CF_DIB), or a file as Explorer's Copy
// puts it (CF_HDROP). "image" offers the pixels through OLE (OleSetClipboard),
// as browsers, office programs and Qt's own programs copy a picture;
// "image-plain" with SetClipboardData alone, as a screenshot tool may. It then
// writes READY_FILE and stays, as the owner of the clipboard, until another
// program takes the clipboard over or two minutes have passed: an OLE offer is
// served from this process, and an owner that ends takes what it offered with
// it on some systems.
// Win32 only, no Qt: nothing of the program's own toolkit helps the offer.
#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<char> readFile(const wchar_t *path)
{
    std::vector<char> bytes;
    FILE *file = _wfopen(path, L"rb");
    if (!file)
        return bytes;
    char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    fclose(file);
    return bytes;
}

HGLOBAL globalCopy(const void *data, size_t size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return nullptr;
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    return memory;
}

// A BMP file is a BITMAPFILEHEADER followed by exactly what CF_DIB holds.
HGLOBAL dibFromBmp(const wchar_t *path)
{
    const std::vector<char> bytes = readFile(path);
    if (bytes.size() <= sizeof(BITMAPFILEHEADER) || bytes[0] != 'B' || bytes[1] != 'M')
        return nullptr;
    return globalCopy(bytes.data() + sizeof(BITMAPFILEHEADER),
                      bytes.size() - sizeof(BITMAPFILEHEADER));
}

// DROPFILES, then the wide file names, each ended by a zero, the list by another.
HGLOBAL dropFiles(const wchar_t *path)
{
    std::vector<char> block(sizeof(DROPFILES));
    auto *header = reinterpret_cast<DROPFILES *>(block.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    const std::wstring names = std::wstring(path) + L'\0' + L'\0';
    const char *raw = reinterpret_cast<const char *>(names.data());
    block.insert(block.end(), raw, raw + names.size() * sizeof(wchar_t));
    return globalCopy(block.data(), block.size());
}

// Another program may hold the clipboard open for a moment.
bool openClipboard(HWND owner)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(50);
    }
    return false;
}

// An offer served through OLE: one format, handed out as a copy of the bytes.
class DataObject : public IDataObject
{
public:
    DataObject(UINT format, HGLOBAL data) : m_data(data)
    {
        m_format = {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    }
    virtual ~DataObject() { GlobalFree(m_data); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *object = static_cast<IDataObject *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_references); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC *format, STGMEDIUM *medium) override
    {
        const HRESULT usable = QueryGetData(format);
        if (usable != S_OK)
            return usable;
        const SIZE_T size = GlobalSize(m_data);
        HGLOBAL copy = globalCopy(GlobalLock(m_data), size);
        GlobalUnlock(m_data);
        if (!copy)
            return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC *, STGMEDIUM *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC *format) override
    {
        if (!format || format->cfFormat != m_format.cfFormat)
            return DV_E_FORMATETC;
        return (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_TYMED;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC *, FORMATETC *out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC *, STGMEDIUM *, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC **formats) override
    {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        return SHCreateStdEnumFmtEtc(1, &m_format, formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC *, DWORD, IAdviseSink *, DWORD *) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA **) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    LONG m_references = 1;
    FORMATETC m_format;
    HGLOBAL m_data;
};

LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROYCLIPBOARD) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool offerPlain(UINT format, HGLOBAL data)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ownerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"OrvalithClipboardOffer";
    RegisterClassW(&windowClass);
    HWND owner = CreateWindowW(windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
    if (!owner || !openClipboard(owner))
        return false;
    // Emptying makes this window the owner and tells the earlier one it lost it.
    const bool offered = EmptyClipboard() && SetClipboardData(format, data);
    CloseClipboard();
    return offered;
}

void writeReady(const wchar_t *path)
{
    FILE *ready = _wfopen(path, L"w");
    if (ready)
        fclose(ready);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 4) {
        fwprintf(stderr, L"usage: %ls image|image-plain PICTURE.bmp|file PATH READY_FILE\n",
                 argv[0]);
        return 2;
    }
    const std::wstring kind = argv[1];
    UINT format = 0;
    HGLOBAL data = nullptr;
    if (kind == L"image" || kind == L"image-plain") {
        format = CF_DIB;
        data = dibFromBmp(argv[2]);
    } else if (kind == L"file") {
        format = CF_HDROP;
        data = dropFiles(argv[2]);
    }
    if (!data) {
        fwprintf(stderr, L"clipboard_offer: nothing to offer from %ls\n", argv[2]);
        return 2;
    }

    MSG message;
    if (kind == L"image") {
        if (FAILED(OleInitialize(nullptr)))
            return 1;
        auto *offer = new DataObject(format, data);
        HRESULT set = E_FAIL;
        for (int attempt = 0; attempt < 100 && FAILED(set); ++attempt) {
            set = OleSetClipboard(offer);
            if (FAILED(set))
                Sleep(50);
        }
        if (FAILED(set)) {
            fwprintf(stderr, L"clipboard_offer: OleSetClipboard failed: %08lx\n", set);
            return 1;
        }
        writeReady(argv[3]);
        // Served from here while it is the clipboard's content; OLE owns the
        // clipboard through a window of its own, so whether it still does is asked.
        const UINT_PTR timer = SetTimer(nullptr, 0, 200, nullptr);
        for (int tick = 0; tick < 600 && OleIsCurrentClipboard(offer) == S_OK;) {
            if (GetMessageW(&message, nullptr, 0, 0) <= 0)
                break;
            if (message.message == WM_TIMER && message.wParam == timer)
                ++tick;
            DispatchMessageW(&message);
        }
        offer->Release();
        OleUninitialize();
        return 0;
    }

    if (!offerPlain(format, data)) {
        fwprintf(stderr, L"clipboard_offer: the clipboard refused the offer\n");
        return 1;
    }
    writeReady(argv[3]);
    SetTimer(nullptr, 0, 120000, nullptr);
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER)
            break;
        DispatchMessageW(&message);
    }
    return 0;
}
