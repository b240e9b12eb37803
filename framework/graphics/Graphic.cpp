#include "framework/graphics/Graphic.h"
#include "framework/graphics/GraphicsConsts.h"

#include "framework/core/Streams.h"

namespace zel {

void TGraphic::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Changed(this);
}

void TGraphic::SetModified(bool value) {
  if (value)
    Changed(this);
  else
    FModified = false;
}

void TGraphic::Changed(TObject* sender) {
  FModified = true;
  if (OnChange) OnChange(sender ? sender : this);
}

void TGraphic::LoadFromClipboardFormat(TClipboardFormat, uintptr_t, HPALETTE) {
  throw EInvalidGraphicOperation::CreateFmt(SNoClipboard, ClassName());
}

void TGraphic::SaveToClipboardFormat(TClipboardFormat&, uintptr_t&, HPALETTE&) {
  throw EInvalidGraphicOperation::CreateFmt(SNoClipboard, ClassName());
}

bool TGraphic::Equals(TGraphic* other) {
  if (other == this) return true;
  if (!other || &other->ClassType() != &ClassType()) return false;
  if (Empty() != other->Empty()) return false;
  if (Empty()) return true;
  TMemoryStream mine, theirs;
  SaveToStream(mine);
  other->SaveToStream(theirs);
  return mine.Bytes() == theirs.Bytes();
}

void TGraphic::LoadFromFile(const std::string& path) {
  TFileStream stream(path, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& path) {
  TFileStream stream(path, fmCreate);
  SaveToStream(stream);
}

} // namespace zel
