#include "install/handler_step.h"

#include "core/key_arr.h"
#include "install/associations.h"
#include "install/install_session.h"
#include "install/page_text.h"
#include "install/services.h"
#include "install/shortcut_link.h"
#include "install/status.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "runtime/os_flags.h"
#include "runtime/path_macros.h"
#include "runtime/setup_log.h"

namespace {

// What the pass reads of one shortcut item.
struct HandlerItem {
  int n = 0;
  uint32_t flags = 0;
  cc::Str program;  // the real path, or the URL
};

cc::Str ItemKey(const char16_t* format, int n) { return cc::Str::Formatted(format, n); }

// Reads item n; false when it is to be skipped (OS test, missing program).
bool ReadHandlerItem(InstallSession& session, int n, HandlerItem* item) {
  cc::KeyArr& store = session.store;
  const uint32_t os = static_cast<uint32_t>(store.Get(ItemKey(u"s.i.Short.%d.OS", n)).ToInt64());
  if (!OsTest(os, session.os_index, session.is64)) return false;
  item->n = n;
  item->flags = static_cast<uint32_t>(store.Get(ItemKey(u"s.i.Short.%d.Flag", n)).ToInt64());
  const cc::Str file = store.Get(ItemKey(u"s.i.Short.%d.File", n));
  const bool url = IsUrlTarget(file);
  item->program = url ? file : ExpandMacroPath(file, store, session.platform);
  ShowStatus(session.progress(), PageText(store, ItemKey(u".s.i.Short.%d.Name", n)));
  ShowDetail(session.progress(), item->program);
  return url || FileExists(*session.platform.files, item->program);
}

void AssociateExtensions(InstallSession& session, const HandlerItem& item) {
  cc::KeyArr& store = session.store;
  const cc::Str description = PageText(store, ItemKey(u".s.i.Short.%d.AsDesc", item.n));
  const int count = store.GetInt(ItemKey(u"Ret.Shortcut.Ext%d.Count", item.n), 0);
  bool listed = false;
  for (int k = 0; k < count; ++k) {
    if (!store.GetBool(cc::Str::Formatted(u"Ret.Shortcut.chkExt%d.%d", item.n, k), true)) continue;
    const cc::Str extension = store.Get(cc::Str::Formatted(u"Ret.Shortcut.Ext%d.%d", item.n, k));
    if (!Associate(*session.platform.registry, extension, item.program, 0, description, session.app_name)) {
      session.log.Line(u"Associate NG, Ext:%s, File:%s", extension, item.program);
    }
    ShowDetail(session.progress(), description + cc::Str(u" (") + extension + cc::Str(u")"));
    cc::Str line = extension + cc::Str(u"; ");
    if (!listed) line = description + u"[" + item.program + u"]:\r\n    " + line;
    ShowStatusLine(session.progress(), session.log, line);
    listed = true;
    session.record.AddLine(u"Assoc?=", extension);
  }
  if (listed) ShowStatusLine(session.progress(), session.log, u"\r\n");
}

void MakeService(InstallSession& session, const HandlerItem& item) {
  cc::KeyArr& store = session.store;
  const bool wanted = (item.flags & kShortServiceAlways) ||
                      ((item.flags & kShortServiceOffered) &&
                       store.GetBool(ItemKey(u"Ret.Shortcut.chkService%d", item.n), true));
  if (!wanted) return;
  ServiceEntry entry;
  entry.name = store.Get(ItemKey(u"s.i.Short.%d.SeName", item.n));
  if (entry.name.IsEmpty()) {
    session.log.Line(u"Service skipped, item %d has no service name", item.n);
    return;
  }
  entry.program = item.program;
  entry.description = PageText(store, ItemKey(u".s.i.Short.%d.SeDesc", item.n));
  entry.start_type = store.GetInt(ItemKey(u"s.i.Short.%d.SeType", item.n), 0);
  entry.start_now = store.GetBool(ItemKey(u"s.i.Short.%d.SeAStart", item.n), false);
  const cc::Str status = cc::Str(u"Create Service:") + entry.name;
  ShowDetail(session.progress(), status);
  ShowStatusLine(session.progress(), session.log, status + cc::Str(u"\r\n"));
  CreateServiceEntry(session.platform, session.log, entry);
  session.record.AddLine(u"Service?=", entry.name);
  session.record.AddLine(u"ServiceFile?=", entry.program);
}

}  // namespace

void CreateAssociationsAndServices(InstallSession& session) {
  const int count = session.store.GetInt(u"s.i.Short.Count", 0);
  for (int n = 0; n < count; ++n) {
    HandlerItem item;
    if (!ReadHandlerItem(session, n, &item)) continue;
    AssociateExtensions(session, item);
    MakeService(session, item);
  }
}
