#include "platform/linux/portal_folder_chooser.h"

#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace platform::linux_impl {
namespace {

constexpr const char* kPortalBus = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kFileChooser = "org.freedesktop.portal.FileChooser";
constexpr const char* kRequest = "org.freedesktop.portal.Request";
// Choosing folders came with version 3 of the interface.
constexpr guint32 kFolderVersion = 3;
// How long a portal may take to say it is there (it may be started on demand).
constexpr int kProbeTimeoutMs = 10000;

struct VariantRef {
  GVariant* v = nullptr;
  ~VariantRef() {
    if (v) g_variant_unref(v);
  }
};

struct ErrorRef {
  GError* e = nullptr;
  ~ErrorRef() {
    if (e) g_error_free(e);
  }
};

// The conversation with the portal, on a private connection whose signals are dispatched on a
// main context of this thread only.
class PortalSession {
 public:
  explicit PortalSession(const std::string& address) : context_(g_main_context_new()) {
    g_main_context_push_thread_default(context_);
    ErrorRef error;
    connection_ = g_dbus_connection_new_for_address_sync(
        address.c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, &error.e);
  }
  ~PortalSession() {
    Unsubscribe();
    if (connection_) {
      g_dbus_connection_close_sync(connection_, nullptr, nullptr);
      g_object_unref(connection_);
    }
    // Drain what the closing queued for this context before it goes.
    while (g_main_context_iteration(context_, FALSE)) {
    }
    g_main_context_pop_thread_default(context_);
    g_main_context_unref(context_);
  }
  PortalSession(const PortalSession&) = delete;
  PortalSession& operator=(const PortalSession&) = delete;

  bool connected() const { return connection_ != nullptr; }

  guint32 FileChooserVersion() {
    ErrorRef error;
    VariantRef reply{g_dbus_connection_call_sync(connection_, kPortalBus, kPortalPath, "org.freedesktop.DBus.Properties",
                                                 "Get", g_variant_new("(ss)", kFileChooser, "version"),
                                                 G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NONE, kProbeTimeoutMs,
                                                 nullptr, &error.e)};
    if (!reply.v) return 0;
    VariantRef boxed;
    g_variant_get(reply.v, "(v)", &boxed.v);
    return g_variant_is_of_type(boxed.v, G_VARIANT_TYPE_UINT32) ? g_variant_get_uint32(boxed.v) : 0;
  }

  // The object path the portal will use for a request with `token` (known before the call, so
  // that the answer cannot arrive before we listen for it).
  std::string RequestPath(const std::string& token) const {
    std::string sender = g_dbus_connection_get_unique_name(connection_);
    if (!sender.empty() && sender[0] == ':') sender.erase(0, 1);
    for (char& c : sender)
      if (c == '.') c = '_';
    return std::string(kPortalPath) + "/request/" + sender + "/" + token;
  }

  void Subscribe(const std::string& requestPath) {
    Unsubscribe();
    subscribedPath_ = requestPath;
    subscription_ = g_dbus_connection_signal_subscribe(connection_, kPortalBus, kRequest, "Response",
                                                       requestPath.c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                                                       &PortalSession::OnResponse, this, nullptr);
  }

  bool Open(const FolderDialogOptions& options, const std::string& token) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE_VARDICT);
    g_variant_builder_add(&builder, "{sv}", "handle_token", g_variant_new_string(token.c_str()));
    g_variant_builder_add(&builder, "{sv}", "modal", g_variant_new_boolean(TRUE));
    g_variant_builder_add(&builder, "{sv}", "directory", g_variant_new_boolean(TRUE));
    if (!options.initialFolder.empty())
      g_variant_builder_add(&builder, "{sv}", "current_folder", g_variant_new_bytestring(options.initialFolder.c_str()));
    char parent[32] = "";
    if (options.ownerWindow) std::snprintf(parent, sizeof parent, "x11:%lx", options.ownerWindow);

    ErrorRef error;
    VariantRef reply{g_dbus_connection_call_sync(connection_, kPortalBus, kPortalPath, kFileChooser, "OpenFile",
                                                 g_variant_new("(ssa{sv})", parent, options.title.c_str(), &builder),
                                                 G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE, kProbeTimeoutMs,
                                                 nullptr, &error.e)};
    if (!reply.v) return false;
    const char* handle = nullptr;
    g_variant_get(reply.v, "(&o)", &handle);
    // Portals older than the handle_token convention pick their own path.
    if (handle && subscribedPath_ != handle) Subscribe(handle);
    return true;
  }

  // Runs this thread's context until the answer comes or `cancel` fires.
  void WaitForResponse(ChooserCancel& cancel) {
    GMainContext* context = context_;
    std::atomic<bool>* stop = &stop_;
    if (!cancel.SetCloser([context, stop] {
          stop->store(true);
          g_main_context_wakeup(context);
        }))
      stop_ = true;
    while (!responded_ && !stop_) g_main_context_iteration(context_, TRUE);
    cancel.ClearCloser();
    if (!responded_) {
      // Dismissed: take the chooser off the screen.
      g_dbus_connection_call_sync(connection_, kPortalBus, subscribedPath_.c_str(), kRequest, "Close", nullptr, nullptr,
                                  G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
    }
  }

  bool responded() const { return responded_; }
  guint32 code() const { return code_; }
  const std::string& uri() const { return uri_; }

 private:
  static void OnResponse(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant* parameters,
                         gpointer self) {
    auto* session = static_cast<PortalSession*>(self);
    if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ua{sv})"))) return;
    VariantRef results;
    g_variant_get(parameters, "(u@a{sv})", &session->code_, &results.v);
    const gchar** uris = nullptr;
    if (g_variant_lookup(results.v, "uris", "^a&s", &uris)) {
      if (uris && uris[0]) session->uri_ = uris[0];
      g_free(uris);
    }
    session->responded_ = true;
  }

  void Unsubscribe() {
    if (subscription_) g_dbus_connection_signal_unsubscribe(connection_, subscription_);
    subscription_ = 0;
  }

  GMainContext* context_ = nullptr;
  GDBusConnection* connection_ = nullptr;
  guint subscription_ = 0;
  std::string subscribedPath_;
  std::atomic<bool> stop_{false};
  bool responded_ = false;
  guint32 code_ = 2;
  std::string uri_;
};

std::string NextToken() {
  static std::atomic<unsigned> counter{0};
  return "webinst_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
}

}  // namespace

std::string SessionBusAddress() {
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) return address;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/') {
    std::string socket = std::string(runtime) + "/bus";
    struct stat st {};
    if (::stat(socket.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) return "unix:path=" + socket;
  }
  return {};
}

std::optional<FolderDialogResult> RunPortalFolderChooser(const FolderDialogOptions& options, ChooserCancel& cancel) {
  std::string address = SessionBusAddress();
  if (address.empty()) return std::nullopt;
  PortalSession session(address);
  if (!session.connected() || session.FileChooserVersion() < kFolderVersion) return std::nullopt;

  std::string token = NextToken();
  session.Subscribe(session.RequestPath(token));
  if (!session.Open(options, token)) return std::nullopt;
  session.WaitForResponse(cancel);

  FolderDialogResult result;
  result.outcome = FolderDialogOutcome::kCancelled;
  // 0: chosen; 1: cancelled by the user; 2: ended some other way. Only a local folder counts.
  if (session.responded() && session.code() == 0) {
    if (auto path = PathFromFileUri(session.uri())) {
      result.outcome = FolderDialogOutcome::kChosen;
      result.folder = *path;
    }
  }
  return result;
}

}  // namespace platform::linux_impl
