// The grid's parameter objects: incremental search, what record shots
// remember, and deletion. Each is owned by its grid and assigned through
// the grid's property setter; the behaviour that goes with them plugs in
// with searching and deleting.
#pragma once

#include "bv/bv_fwd.h"
#include "rtl/persistent.h"

namespace brevant {

class TtlAutoSearchParams : public TPersistent {
  BV_CLASS(TtlAutoSearchParams, TPersistent)
 public:
  TtlAutoSearchParams() = default;
  explicit TtlAutoSearchParams(TDBTabulon* grid) : grid_(grid) {}
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  void Assign(const TPersistent* source) override;
  TDBTabulon* Grid() const { return grid_; }

 private:
  TDBTabulon* grid_ = nullptr;
  bool enabled_ = false;
};

class TtlDBParams : public TPersistent {
  BV_CLASS(TtlDBParams, TPersistent)
 public:
  TtlDBParams() = default;
  explicit TtlDBParams(TDBTabulon* grid) : grid_(grid) {}
  bool EnableRecNo() const { return enableRecNo_; }
  void SetEnableRecNo(bool value) { enableRecNo_ = value; }
  void Assign(const TPersistent* source) override;
  TDBTabulon* Grid() const { return grid_; }

 private:
  TDBTabulon* grid_ = nullptr;
  bool enableRecNo_ = true;
};

class TtlDeleteParams : public TPersistent {
  BV_CLASS(TtlDeleteParams, TPersistent)
 public:
  TtlDeleteParams() = default;
  explicit TtlDeleteParams(TDBTabulon* grid) : grid_(grid) {}
  void Assign(const TPersistent* source) override;
  TDBTabulon* Grid() const { return grid_; }

 private:
  TDBTabulon* grid_ = nullptr;
};

}  // namespace brevant
