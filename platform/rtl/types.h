// Scalar types, points and rectangles shared by every layer.
#pragma once

#include <cstdint>
#include <string>

namespace brevant {

// Text is UTF-8 in std::string; sizes and offsets of strings count bytes.
using String = std::string;
// 16-bit text, for values of wide-string fields.
using WideString = std::u16string;

using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using SmallInt = std::int16_t;
using Word = std::uint16_t;
using Byte = std::uint8_t;
using ShortInt = std::int8_t;
using LongBool = std::int32_t;

// 80-bit extended precision on x86-64; the stream layer converts to and
// from the 10-byte form explicitly, so other hosts still read and write it.
using Extended = long double;

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;
using TDate = TDateTime;
using TTime = TDateTime;

struct TPoint {
  Integer X = 0;
  Integer Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(Integer x, Integer y) : X(x), Y(y) {}
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

// A width and height.
struct TSize {
  Integer cx = 0;  // width
  Integer cy = 0;  // height
  constexpr TSize() = default;
  constexpr TSize(Integer w, Integer h) : cx(w), cy(h) {}
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle with exclusive right and bottom edges.
struct TRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(Integer l, Integer t, Integer r, Integer b)
      : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr Integer Width() const { return Right - Left; }
  constexpr Integer Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(Integer x, Integer y) {
  return {x, y};
}
constexpr TRect Rect(Integer l, Integer t, Integer r, Integer b) {
  return {l, t, r, b};
}
constexpr TRect Bounds(Integer l, Integer t, Integer w, Integer h) {
  return {l, t, l + w, t + h};
}

// True when the rectangle encloses no pixel.
constexpr bool IsRectEmpty(const TRect& r) {
  return r.Right <= r.Left || r.Bottom <= r.Top;
}
constexpr bool PtInRect(const TRect& r, const TPoint& p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}
void InflateRect(TRect& r, Integer dx, Integer dy);
void OffsetRect(TRect& r, Integer dx, Integer dy);
// Stores the intersection in dst (empty and zeroed when none) and answers whether one exists.
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
// Stores the smallest rectangle holding both; an empty operand is ignored.
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);

template <class T>
constexpr const T& Min(const T& a, const T& b) {
  return b < a ? b : a;
}
template <class T>
constexpr const T& Max(const T& a, const T& b) {
  return a < b ? b : a;
}

}  // namespace brevant
