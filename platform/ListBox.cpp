#include "platform/ListBox.h"

#include "platform/Errors.h"

namespace platform {

void TListBox::Create(HWND parent, const RECT& bounds, int itemHeight)
{
    CreateControl(L"LISTBOX", WS_EX_CLIENTEDGE, WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, L"", bounds, parent);
    ::SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, itemHeight);
}

void TListBox::AddItem(std::wstring_view item)
{
    std::wstring text(item);
    LRESULT index = ::SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index == LB_ERR || index == LB_ERRSPACE)
        throw TException(L"Não foi possível incluir um item na lista.");
}

int TListBox::Count() const
{
    return static_cast<int>(::SendMessageW(Handle(), LB_GETCOUNT, 0, 0));
}

std::wstring TListBox::Item(int index) const
{
    LRESULT length = ::SendMessageW(Handle(), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        throw TException(L"Índice de lista fora dos limites (" + std::to_wstring(index) + L").");
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = ::SendMessageW(Handle(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(length == LB_ERR ? 0 : static_cast<size_t>(length));
    return text;
}

} // namespace platform
