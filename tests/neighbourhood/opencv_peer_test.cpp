// Every linear filter against OpenCV's convolution (cv::filter2D in double precision, so its sums
// are exact) over the working values padded by OpenCV itself: a constant border of 255 for border
// 1, region copies in the stated order for border 2. Built only where OpenCV is installed.
#ifdef LAMINA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "neighbourhood/filter_reference.h"
#include "support/pictures.h"

namespace {

using namespace lamina_test;

// The sums of every computed pixel, indexed like the image (NaN where nothing is computed).
cv::Mat PeerSums(const cv::Mat& plane, const std::vector<int>& k, int size, int border) {
  const int r = size >= 2 ? size / 2 : 0;
  const int w = plane.cols, h = plane.rows;
  cv::Mat kernel(size, size, CV_64F);
  for (int i = 0; i < size * size; ++i) kernel.at<double>(i / size, i % size) = k[i];
  cv::Mat source;
  plane.convertTo(source, CV_64F);
  cv::Mat padded;
  if (border == 0) {
    padded = source;
  } else if (border == 1) {
    cv::copyMakeBorder(source, padded, r, r, r, r, cv::BORDER_CONSTANT, cv::Scalar(255));
  } else {
    padded = cv::Mat::zeros(h + 2 * r, w + 2 * r, CV_64F);
    const int at[5][2] = {{0, 0}, {2 * r, 0}, {2 * r, 2 * r}, {0, 2 * r}, {r, r}};
    for (const auto& o : at) {
      const int cw = std::min(w, padded.cols - o[0]), ch = std::min(h, padded.rows - o[1]);
      source(cv::Rect(0, 0, cw, ch)).copyTo(padded(cv::Rect(o[0], o[1], cw, ch)));
    }
  }
  // Large kernels go through OpenCV's Fourier transform, whose sums carry rounding: they are
  // whole numbers, so they are rounded.
  cv::Mat sums;
  cv::filter2D(padded, sums, CV_64F, kernel, cv::Point(r, r), 0, cv::BORDER_CONSTANT);
  cv::Mat out(h, w, CV_64F, cv::Scalar(NAN));
  const int pad = border == 0 ? 0 : r;
  for (int y = r; y < padded.rows - r; ++y)
    for (int x = r; x < padded.cols - r; ++x)
      out.at<double>(y - pad, x - pad) = std::round(sums.at<double>(y, x));
  return out;
}

TEST(FiltersPeer, LinearFiltersAgreeWithOpenCVConvolution) {
  unsigned seed = 300;
  for (int number = 0; number <= 65; ++number) {
    const RefFilter f = RefLookup(number);
    if (f.kind != RefKind::kConv) continue;
    for (int border = 0; border < 3; ++border)
      for (int mapping = 0; mapping < 3; ++mapping) {
        CLamina img = Random(8, 67, 45, ++seed);
        cv::Mat plane(45, 67, CV_8U);
        for (int y = 0; y < 45; ++y)
          for (int x = 0; x < 67; ++x) plane.at<std::uint8_t>(y, x) = Working(img, x, y);
        const cv::Mat sums = PeerSums(plane, f.a, f.size, border);
        double smin = 0, smax = 0;
        for (int y = 0; y < 45; ++y)
          for (int x = 0; x < 67; ++x) {
            const double s = sums.at<double>(y, x);
            if (s == s) smin = std::min(smin, s), smax = std::max(smax, s);
          }
        const long long qmin = static_cast<long long>(smin) / f.divisor;
        const long long qmax = static_cast<long long>(smax) / f.divisor;
        ASSERT_EQ(img.fnIMG_Filters(number, mapping, border), 0);
        for (int y = 0; y < 45; ++y)
          for (int x = 0; x < 67; ++x) {
            const double s = sums.at<double>(y, x);
            int expected = plane.at<std::uint8_t>(y, x);  // the frame keeps its value
            if (s == s) {
              const long long q = static_cast<long long>(s) / f.divisor;
              if (mapping == 1) expected = static_cast<int>(std::clamp(q, 0LL, 255LL));
              if (mapping == 2) expected = static_cast<int>(std::min(q < 0 ? -q : q, 255LL));
              if (mapping == 0)
                expected = qmax == qmin
                               ? 0
                               : static_cast<int>(255.0f / static_cast<float>(qmax - qmin) *
                                                  static_cast<float>(q - qmin)) &
                                     255;
            }
            ASSERT_EQ(Working(img, x, y), expected)
                << "filter " << number << " border " << border << " mapping " << mapping << " at "
                << x << "," << y;
          }
      }
  }
}

}  // namespace
#endif
