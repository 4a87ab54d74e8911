#pragma once
// A form lists its components as a table in its own source, one row per component: name,
// kind, left, top, width, height, parent (empty: the form) and settings. For example
//
//     BuildLayout(*this, {
//         Place<TPageControl>("PageControl1", 15, 40, 462, 252),
//         Place<TTabSheet>("TabSheet1", "PageControl1", [](TTabSheet& s) { s.SetTabVisible(false); }),
//         Place<TPanel>("Panel2", 4, 4, 447, 233, "TabSheet1", [](TPanel& p) { p.SetColor(clWhite); }),
//         Place<TTimer>("Timer1", [](TTimer& t) { t.SetInterval(2000); }),
//     });
//
// Rows are built in order, so a parent is listed before its children; components without a
// window or place (timers, actions) take no bounds.
#include "toolkit/core/Component.h"

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

class TForm;

struct TLayoutRow {
    std::string Name;
    TComponent& (*Create)(TComponent& owner) = nullptr;
    bool Placed = false; // has bounds
    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::string Parent;
    std::function<void(TComponent&)> Setup;
};
using TFormLayout = std::vector<TLayoutRow>;

// A component that wants to know its owner while it is constructed takes it as argument.
template <typename T>
TComponent& CreateOwnedComponent(TComponent& owner)
{
    if constexpr (std::is_constructible_v<T, TComponent&>)
        return owner.Own<T>(owner);
    else
        return owner.Own<T>();
}

template <typename T>
std::function<void(TComponent&)> TypedSetup(std::function<void(T&)> setup)
{
    if (!setup)
        return {};
    return [setup = std::move(setup)](TComponent& c) { setup(static_cast<T&>(c)); };
}

// A control at a place of its parent.
template <typename T>
TLayoutRow Place(std::string name, int left, int top, int width, int height, std::string parent = {},
                 std::function<void(T&)> setup = {})
{
    return {std::move(name), &CreateOwnedComponent<T>, true, left, top, width, height, std::move(parent),
            TypedSetup<T>(std::move(setup))};
}

// A control whose parent decides its place (a page), with a parent.
template <typename T>
TLayoutRow Place(std::string name, std::string parent, std::function<void(T&)> setup = {})
{
    return {std::move(name), &CreateOwnedComponent<T>, false, 0, 0, 0, 0, std::move(parent),
            TypedSetup<T>(std::move(setup))};
}

// A component without a place (timer, action, action list).
template <typename T>
TLayoutRow Place(std::string name, std::function<void(T&)> setup = {})
{
    return {std::move(name), &CreateOwnedComponent<T>, false, 0, 0, 0, 0, {}, TypedSetup<T>(std::move(setup))};
}

// Creates the rows' components, owned by the form, in order, and then tells each of them that
// loading is over (Loaded). A parent that is not an earlier windowed row (or the form) raises
// EInvalidCast.
void BuildLayout(TForm& form, const TFormLayout& rows);
