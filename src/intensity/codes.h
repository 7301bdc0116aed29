// The result codes of the histogram and intensity operations, one namespace per operation (or per
// group of operations that share their codes) in the order the operations are declared. Operations
// that return a value list the sentinels they return instead.
#pragma once

#include "core/result_codes.h"

namespace lamina {
namespace codes {

// fnIMG_GetHistogram, fnIMG_GetInfoHistogram: the output is left untouched.
namespace histogram {
inline constexpr ResultCode kDepth{1, "depth not 1/4/8/24/32"};
// A null table or record was written through; it is refused before any counting.
inline constexpr ResultCode kNoOutput = Added({2, "no table or record (null)"});
inline constexpr ResultCode kAll[] = {kDepth, kNoOutput};
}  // namespace histogram

// fnIMG_EqualizeHistogram (models 1 to 10 are checked again by the private form).
namespace equalize_histogram {
inline constexpr ResultCode kDepth{1, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kModel{2, "model outside 0\u201310"};
inline constexpr ResultCode kRounding{3, "model 0 with rounding outside 0\u20132"};
inline constexpr ResultCode kAll[] = {kDepth, kModel, kRounding};
}  // namespace equalize_histogram

// fnIMG_GrayScaleLinealTransform.
namespace gray_scale_lineal_transform {
inline constexpr ResultCode kDepth{1, "depth not 4/8/24/32"};
inline constexpr ResultCode kInputBand{2, "a > b"};
inline constexpr ResultCode kOutputBand{3, "c > d"};
inline constexpr ResultCode kRange{4, "a < 0, c < 0, b > top or d > top"};
inline constexpr ResultCode kAll[] = {kDepth, kInputBand, kOutputBand, kRange};
}  // namespace gray_scale_lineal_transform

// fnIMG_NonLinearContrast.
namespace non_linear_contrast {
inline constexpr ResultCode kDepth{1, "depth not 4/8/24/32"};
inline constexpr ResultCode kSteepness{2, "k outside [0, 1] or not a number"};
inline constexpr ResultCode kCurve{3, "curve outside 0\u20136"};
inline constexpr ResultCode kModel{4, "model outside 0\u201310"};
inline constexpr ResultCode kAll[] = {kDepth, kSteepness, kCurve, kModel};
}  // namespace non_linear_contrast

// fnIMG_Balance, fnIMG_Brightness.
namespace balance {
inline constexpr ResultCode kPercent{1, "a percentage outside \u2212100..100"};
inline constexpr ResultCode kDepth{2, "depth not 4/8/24/32"};
inline constexpr ResultCode kAll[] = {kPercent, kDepth};
}  // namespace balance

// fnIMG_Gamma.
namespace gamma {
inline constexpr ResultCode kGamma{1, "gamma below 0 or not a number"};
inline constexpr ResultCode kDepth{2, "depth not 4/8/24/32"};
inline constexpr ResultCode kAll[] = {kGamma, kDepth};
}  // namespace gamma

// fnIMG_ChangeGrayLevelsNumber.
namespace change_gray_levels_number {
inline constexpr ResultCode kLevels{1, "n outside 2..128"};
inline constexpr ResultCode kDepth{2, "depth not 8/24/32"};
inline constexpr ResultCode kNotGray{3, "image not gray"};
inline constexpr ResultCode kAll[] = {kLevels, kDepth, kNotGray};
}  // namespace change_gray_levels_number

// fnIMG_Negative, both forms.
namespace negative {
inline constexpr ResultCode kDepth{1, "depth not 1/4/8/24/32"};
inline constexpr ResultCode kAll[] = {kDepth};
}  // namespace negative

// fnIMG_GrayLevelSlicing.
namespace gray_level_slicing {
inline constexpr ResultCode kDepth{1, "depth"};
inline constexpr ResultCode kMode{2, "mode"};
inline constexpr ResultCode kBand{3, "low/high"};
inline constexpr ResultCode kInside{4, "inside value"};
inline constexpr ResultCode kOutside{5, "outside value"};
inline constexpr ResultCode kAll[] = {kDepth, kMode, kBand, kInside, kOutside};
}  // namespace gray_level_slicing

// fnIMG_FindThreshold returns the threshold, or one of these (the second result is then left
// untouched).
namespace find_threshold {
inline constexpr ResultCode kDepth{-1, "depth not 4/8/24/32"};
inline constexpr ResultCode kMethod{-2, "method not 0\u20132"};
inline constexpr ResultCode kAll[] = {kDepth, kMethod};
}  // namespace find_threshold

// fnIMG_Thresholding.
namespace thresholding {
inline constexpr ResultCode kThreshold{1, "t not below the colour count"};
inline constexpr ResultCode kDepth{2, "depth not 4/8/24/32"};
inline constexpr ResultCode kLevels{3, "below or above beyond the colours"};
inline constexpr ResultCode kAll[] = {kThreshold, kDepth, kLevels};
}  // namespace thresholding

// fnIMG_AdaptiveLocalThresholding: the depth is tested first.
namespace adaptive_local_thresholding {
inline constexpr ResultCode kDepth{2, "depth not 8"};
inline constexpr ResultCode kBlockSize{1, "block size"};
inline constexpr ResultCode kOutput{3, "output selector"};
inline constexpr ResultCode kAll[] = {kDepth, kBlockSize, kOutput};
}  // namespace adaptive_local_thresholding

// fnIMG_BitPlane. Depths without pixel access give 0 and stay as they are.
namespace bit_plane {
inline constexpr ResultCode kPlane{1, "plane outside the depth's planes"};
inline constexpr ResultCode kNoMemory = Added({2, "not enough memory"});
inline constexpr ResultCode kAll[] = {kPlane, kNoMemory};
}  // namespace bit_plane

// fnIMG_AddNoise.
namespace add_noise {
inline constexpr ResultCode kDepth{1, "depth"};
inline constexpr ResultCode kSelection{2, "selection"};
inline constexpr ResultCode kScope{3, "scope"};
inline constexpr ResultCode kRange{4, "noise range"};
inline constexpr ResultCode kBand{5, "band outside the levels present"};
inline constexpr ResultCode kCount{6, "count"};
inline constexpr ResultCode kAll[] = {kDepth, kSelection, kScope, kRange, kBand, kCount};
}  // namespace add_noise

// fnIMG_AverageRow, fnIMG_AverageColumn, fnIMG_AverageImg return the mean index, or one of these.
namespace average {
inline constexpr ResultCode kDepth{-1, "depth (colour bytes of the result set to 0)"};
inline constexpr ResultCode kOutside{-2, "row or column outside (result untouched)"};
inline constexpr ResultCode kAll[] = {kDepth, kOutside};
}  // namespace average

}  // namespace codes
}  // namespace lamina
