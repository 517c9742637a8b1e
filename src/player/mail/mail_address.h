// One mail address (display name and mailbox) and an ordered list of them. Both fields are
// short strings: whatever is assigned beyond 255 characters is cut off.
#pragma once

#include <string>
#include <vector>

#include "player/mail/mail_errors.h"

namespace wdx::mail {

class TmsMailAddress {
 public:
  TmsMailAddress() = default;
  TmsMailAddress(std::string address, std::string name)
      : name_(CutShort(std::move(name))), address_(CutShort(std::move(address))) {}

  const std::string& Name() const { return name_; }
  const std::string& Address() const { return address_; }
  void SetName(std::string name) { name_ = CutShort(std::move(name)); }
  void SetAddress(std::string address) { address_ = CutShort(std::move(address)); }
  void Assign(const TmsMailAddress& other) { *this = other; }
  void Clear() { name_.clear(), address_.clear(); }
  bool operator==(const TmsMailAddress&) const = default;

 private:
  std::string name_;
  std::string address_;
};

// An ordered list of addresses it owns (copies are independent lists).
class TmsAddressList {
 public:
  const TmsMailAddress& GetItem(std::size_t index) const { return items_.at(index); }
  TmsMailAddress& GetItem(std::size_t index) { return items_.at(index); }
  std::size_t GetCount() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  void Add(TmsMailAddress address) { items_.push_back(std::move(address)); }
  // Address first, then name.
  void AddAddress(std::string address, std::string name) { items_.emplace_back(std::move(address), std::move(name)); }
  void Clear() { items_.clear(); }
  void Assign(const TmsAddressList& other) { *this = other; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<TmsMailAddress> items_;
};

}  // namespace wdx::mail
