#include "platform/StandInGdi.hpp"

#include <memory>
#include <unordered_set>

namespace {

// Pens are owned by the registry between CreatePen and DeleteObject; handles
// are checked against it so a stale or foreign handle is refused, not used.
std::unordered_set<StandInPen*>& LivePenSet() {
  // Never destroyed: a module unloaded at process exit deletes its pens after
  // this file's statics would be gone.
  static auto* const pens = new std::unordered_set<StandInPen*>;
  return *pens;
}

std::size_t refused = 0;

// Calls left until the injected failure of each function (gdi::FailCall);
// 0 when none is pending.
std::size_t createPenFailsIn = 0;
std::size_t selectObjectFailsIn = 0;

// Counts one call down; true when it is the one to fail.
bool FailsNow(std::size_t& callsLeft) {
  if (callsLeft == 0) return false;
  return --callsLeft == 0;
}

bool IsLivePen(HGDIOBJ object) {
  return LivePenSet().count(static_cast<StandInPen*>(object)) != 0;
}

}  // namespace

HPEN CreatePen(int style, int width, COLORREF colour) {
  if (FailsNow(createPenFailsIn)) return nullptr;
  auto pen = std::make_unique<StandInPen>(StandInPen{style, width, colour});
  LivePenSet().insert(pen.get());
  return pen.release();
}

BOOL DeleteObject(HGDIOBJ object) {
  if (!IsLivePen(object)) {
    ++refused;
    return FALSE;
  }
  auto* pen = static_cast<StandInPen*>(object);
  LivePenSet().erase(pen);
  delete pen;
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (dc == nullptr || (object != dc->DefaultPen() && !IsLivePen(object))) {
    ++refused;
    return nullptr;
  }
  if (FailsNow(selectObjectFailsIn)) return nullptr;
  HGDIOBJ previous = dc->selected_;
  dc->selected_ = object;
  dc->selectedPen_ = *static_cast<StandInPen*>(object);
  dc->calls_.push_back(
      {DrawCall::Kind::kSelect, 0, 0, 0, 0, dc->selectedPen_, 0, 0});
  return previous;
}

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
  if (dc == nullptr) {
    ++refused;
    return FALSE;
  }
  if (previous != nullptr) *previous = POINT{dc->x_, dc->y_};
  dc->x_ = x;
  dc->y_ = y;
  dc->calls_.push_back({DrawCall::Kind::kMoveTo, x, y, 0, 0, {}, 0, 0});
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
  if (dc == nullptr) {
    ++refused;
    return FALSE;
  }
  dc->calls_.push_back(
      {DrawCall::Kind::kLineTo, dc->x_, dc->y_, x, y, dc->selectedPen_, 0, 0});
  dc->x_ = x;
  dc->y_ = y;
  return TRUE;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
  if (dc == nullptr || text == nullptr || length < 0) {
    ++refused;
    return FALSE;
  }
  const std::size_t offset = dc->text_.size();
  dc->text_.append(text, static_cast<std::size_t>(length));
  dc->calls_.push_back({DrawCall::Kind::kText,
                        x,
                        y,
                        0,
                        0,
                        {},
                        offset,
                        static_cast<std::size_t>(length)});
  return TRUE;
}

StandInDC::StandInDC()
    : defaultPen_{PS_SOLID, 1, 0x00000000},
      selected_(&defaultPen_),
      selectedPen_(defaultPen_) {}

std::string_view StandInDC::Text(const DrawCall& call) const {
  return std::string_view(text_).substr(call.textOffset, call.textLength);
}

void StandInDC::Clear() {
  calls_.clear();
  text_.clear();
}

namespace norvane::gdi {

std::size_t LivePens() { return LivePenSet().size(); }

std::size_t RefusedCalls() { return refused; }

void FailCall(Failing function, std::size_t call) {
  (function == Failing::kCreatePen ? createPenFailsIn : selectObjectFailsIn) =
      call;
}

}  // namespace norvane::gdi
