#pragma once

// Control IDs of the installer window, by which UI automation (and our
// driver) finds its controls.
namespace app::control_id {

inline constexpr int Label1 = 1001;
inline constexpr int lblDescStatus = 1002;
inline constexpr int Label6 = 1003;
inline constexpr int ProgressBar1 = 1004;
inline constexpr int ProgressBar2 = 1005;
inline constexpr int cxButton1 = 1006;
inline constexpr int ListBox = 1007;

inline constexpr int Image1 = 1101;
inline constexpr int Label2 = 1102;
inline constexpr int Label3 = 1103;
inline constexpr int Bevel1 = 1104;
inline constexpr int FirstFeatureImage = 1111; // Image2 to Image6
inline constexpr int FirstFeatureLabel = 1121; // cxLabel1 to cxLabel5

// The wizard's buttons: WizardButtonBase + the button's kind.
inline constexpr int WizardButtonBase = 1200;
inline constexpr int InfoLink = 1210;

} // namespace app::control_id
