#include "toolkit/controls/CommonDialogError.h"

#include "toolkit/core/Exception.h"
#include "toolkit/core/LateBound.h"

#include <windows.h>
#include <commdlg.h>

#include <cstdio>

void ThrowIfCommonDialogFailed(const std::string& dialogName)
{
    const DWORD code = late::CommDlgExtendedError();
    if (code == 0)
        return;
    char text[16];
    std::snprintf(text, sizeof text, "0x%04lX", static_cast<unsigned long>(code));
    throw EOSError(dialogName + " failed with error " + text);
}
