#pragma once
// The eight shell objects a folder can pretend to be. Index order is binding: the disguise
// dialog shows one radio button per target in this order.
#include <array>
#include <string_view>

struct TDisguiseTarget {
    int Index;
    const char* RadioButton;
    const char* Caption;
    const char* Clsid;  // exact text stored in the settings file
};

inline constexpr std::array<TDisguiseTarget, 8> DisguiseTargets{{
    {0, "RadioButton1", "Web Page", "{871C5380-42A0-1069-A2EA-08002B30309D}"},
    {1, "RadioButton2", "Recycle Bin", "{645FF040-5081-101B-9F08-00AA002F954E}"},
    {2, "RadioButton3", "Control Panel", "{21EC2020-3AEA-1069-A2DD-08002B30309D}"},
    {3, "RadioButton4", "Task Scheduler", "{D6277990-4C6A-11CF-8D87-00AA0060F5BF}"},
    {4, "RadioButton5", "Printer", "{2227A280-3AEA-1069-A2DE-08002B30309D}"},
    {5, "RadioButton6", "NetWork Places", "{208D2C60-3AEA-1069-A2D7-08002B30309D}"},
    {6, "RadioButton7", "Network Connections", "{992CFFA0-F557-101A-88EC-00DD010CCC48}"},
    {7, "RadioButton8", "My Computer", "{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
}};

// The class identifier of a target, or nullptr for an index outside 0..7.
inline const char* DisguiseClsid(int index)
{
    return index >= 0 && index < static_cast<int>(DisguiseTargets.size()) ? DisguiseTargets[index].Clsid : nullptr;
}

// The target whose identifier equals the text exactly (case-sensitive), or -1.
inline int DisguiseIndexOf(std::string_view clsid)
{
    for (const auto& target : DisguiseTargets)
        if (clsid == target.Clsid)
            return target.Index;
    return -1;
}
