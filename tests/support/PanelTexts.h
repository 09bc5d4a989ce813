#pragma once
// Test helper: the panel's two English paragraphs, which are also the keys
// of their translations in the language files.

namespace testsupport {

inline constexpr wchar_t PortsKey[] =
    L"When your notebook PC is docked on Portica Dock, your notebook PC's HDMI, VGA, and other display ports "
    L"are disabled. You can use the display port on Portica Dock.";
inline constexpr wchar_t ModelsKey[] =
    L"Portica Dock is compatible with specific Tavrin Notebook PC models. Please check that your notebook PC "
    L"supports Portica Dock.";

} // namespace testsupport
