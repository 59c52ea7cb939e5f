#pragma once

#include "platform/Control.h"

namespace platform {

class TListBox : public TControl {
public:
    void Create(HWND parent, const RECT& bounds, int itemHeight);

    void AddItem(std::wstring_view item);
    int Count() const;
    std::wstring Item(int index) const;
};

} // namespace platform
