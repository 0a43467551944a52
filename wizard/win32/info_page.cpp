#include "wizard/win32/info_page.h"

#include <string>

#include "runtime/payload_loader.h"
#include "runtime/setup_log.h"
#include "wizard/info_document.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;

InfoPage::InfoPage(WizardContext& context, const Str& keyBase) : InfoPage(kInfoPage, context, keyBase) {}

InfoPage::InfoPage(int typeId, WizardContext& context, const Str& keyBase)
    : FunctionPage(typeId, context, keyBase) {
  BuildControls();
}

void InfoPage::BuildControls() {
  labInfo_->SetSize(595, 29);
  textMsg_ = AddControl<cc::win::HtmlTextBox>(u"textMsg", 5, 30, 590, 570, cc::win::kAnchorTop | cc::win::kAnchorBottom |
                                                                        cc::win::kAnchorLeft | cc::win::kAnchorRight);
  // Links open files only inside the folder the application goes to, as
  // chosen at the moment of the click.
  textMsg_->SetAppFolder([this] { return Config().Get(u"Ret.Location.Path"); });
  textMsg_->SetLogger([this](const Str& line) { Log().Write(line); });
}

bool InfoPage::LoadPage(int mode) {
  bool shown = mode == kLoadByNext || mode == kLoadByBack;
  if (shown && !LanguageChanged()) return true;
  ShowDocument();
  return true;
}

void InfoPage::ShowDocument() {
  Str name = PageText(u".InfoFile");
  if (name.IsNull() || name.IsEmpty()) return;
  DocumentKind kind = DocumentKindOf(name);
  if (kind == DocumentKind::kNone) {
    Log().Write(Str(u"Document not shown (not .txt, .rtf, .htm or .html): ") + name);
    return;
  }
  std::string bytes;
  if (!LoadPayloadFile(Context().platform, &Config(), name, &bytes) || bytes.empty()) {
    Log().Write(Str(u"Document cannot be read: ") + name);
    return;
  }
  switch (kind) {
    case DocumentKind::kText:
      textMsg_->SetPlainText(PlainDocumentText(bytes));
      break;
    case DocumentKind::kRtf:
      textMsg_->SetRtf(bytes);
      break;
    case DocumentKind::kHtml:
      textMsg_->SetHtml(bytes.data(), static_cast<int>(bytes.size()));
      break;
    case DocumentKind::kNone:
      break;
  }
}

}  // namespace wizard
