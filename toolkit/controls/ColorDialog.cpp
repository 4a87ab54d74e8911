#include "toolkit/controls/ColorDialog.h"

#include "toolkit/controls/CommonDialogError.h"
#include "toolkit/core/LateBound.h"

#include <commdlg.h>

bool TColorDialog::Execute()
{
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner_;
    cc.rgbResult = ColorToRGB(color_);
    cc.lpCustColors = custom_.data();
    cc.Flags = CC_RGBINIT;
    if (!late::ChooseColorA(&cc)) {
        ThrowIfCommonDialogFailed("ChooseColor");
        return false;
    }
    color_ = cc.rgbResult;
    return true;
}
