// Stands in for the desktop portal on the message bus named by DBUS_SESSION_BUS_ADDRESS: owns
// org.freedesktop.portal.Desktop and answers FileChooser.OpenFile. Prints "ready" once it owns
// the name. Its environment says how it answers:
//   FAKE_PORTAL_RESPONSE  "0" (chosen, the default), "1" (cancelled), "2" (other), or "hold"
//                         (no answer until the request is closed)
//   FAKE_PORTAL_URI       the chosen folder's URI
//   FAKE_PORTAL_VERSION   the interface version it claims (3)
//   FAKE_PORTAL_LOG       file that gets one line per thing it was asked or told
#include <gio/gio.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

const char* kIntrospection = R"(<node>
  <interface name="org.freedesktop.portal.FileChooser">
    <method name="OpenFile">
      <arg type="s" name="parent_window" direction="in"/>
      <arg type="s" name="title" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="handle" direction="out"/>
    </method>
    <property name="version" type="u" access="read"/>
  </interface>
  <interface name="org.freedesktop.portal.Request">
    <method name="Close"/>
  </interface>
</node>)";

GDBusNodeInfo* g_node = nullptr;
GMainLoop* g_loop = nullptr;

std::string Env(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return v ? v : fallback;
}

void Log(const std::string& line) {
  std::string path = Env("FAKE_PORTAL_LOG", "");
  if (path.empty()) return;
  if (FILE* f = std::fopen(path.c_str(), "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

// Requests left open ("hold"), by object path.
std::map<std::string, guint> g_requests;

void OnRequestCall(GDBusConnection* connection, const gchar*, const gchar* path, const gchar*, const gchar* method,
                   GVariant*, GDBusMethodInvocation* invocation, gpointer) {
  Log(std::string(method) + " " + path);
  g_dbus_connection_unregister_object(connection, g_requests[path]);
  g_requests.erase(path);
  g_dbus_method_invocation_return_value(invocation, nullptr);
}

const GDBusInterfaceVTable kRequestVTable = {OnRequestCall, nullptr, nullptr, {}};

void OnChooserCall(GDBusConnection* connection, const gchar* sender, const gchar*, const gchar*, const gchar* method,
                   GVariant* parameters, GDBusMethodInvocation* invocation, gpointer) {
  const gchar *parent = nullptr, *title = nullptr;
  GVariant* options = nullptr;
  g_variant_get(parameters, "(&s&s@a{sv})", &parent, &title, &options);
  Log(std::string(method) + " parent=" + parent + " title=" + title);
  const gchar* token = "t";
  gboolean flag = FALSE;
  g_variant_lookup(options, "handle_token", "&s", &token);
  if (g_variant_lookup(options, "directory", "b", &flag)) Log(std::string("directory=") + (flag ? "true" : "false"));
  if (g_variant_lookup(options, "modal", "b", &flag)) Log(std::string("modal=") + (flag ? "true" : "false"));
  const gchar* folder = nullptr;
  if (g_variant_lookup(options, "current_folder", "^&ay", &folder)) Log(std::string("current_folder=") + folder);
  g_variant_unref(options);

  std::string who = sender + 1;
  for (char& c : who)
    if (c == '.') c = '_';
  std::string handle = std::string("/org/freedesktop/portal/desktop/request/") + who + "/" + token;

  std::string response = Env("FAKE_PORTAL_RESPONSE", "0");
  if (response == "hold") {
    g_requests[handle] = g_dbus_connection_register_object(connection, handle.c_str(), g_node->interfaces[1],
                                                           &kRequestVTable, nullptr, nullptr, nullptr);
  }
  g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", handle.c_str()));
  if (response == "hold") return;

  GVariantBuilder results;
  g_variant_builder_init(&results, G_VARIANT_TYPE_VARDICT);
  std::string uri = Env("FAKE_PORTAL_URI", "file:///tmp");
  const gchar* uris[] = {uri.c_str(), nullptr};
  if (response == "0") g_variant_builder_add(&results, "{sv}", "uris", g_variant_new_strv(uris, -1));
  g_dbus_connection_emit_signal(connection, sender, handle.c_str(), "org.freedesktop.portal.Request", "Response",
                                g_variant_new("(ua{sv})", static_cast<guint32>(std::stoul(response)), &results),
                                nullptr);
}

GVariant* OnChooserProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name, GError**,
                            gpointer) {
  if (std::string(name) != "version") return nullptr;
  return g_variant_new_uint32(static_cast<guint32>(std::stoul(Env("FAKE_PORTAL_VERSION", "3"))));
}

const GDBusInterfaceVTable kChooserVTable = {OnChooserCall, OnChooserProperty, nullptr, {}};

}  // namespace

int main() {
  GError* error = nullptr;
  g_node = g_dbus_node_info_new_for_xml(kIntrospection, &error);
  GDBusConnection* connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  if (!connection) {
    std::fprintf(stderr, "fake portal: no bus: %s\n", error->message);
    return 1;
  }
  g_dbus_connection_register_object(connection, "/org/freedesktop/portal/desktop", g_node->interfaces[0],
                                    &kChooserVTable, nullptr, nullptr, &error);
  g_loop = g_main_loop_new(nullptr, FALSE);
  g_bus_own_name_on_connection(
      connection, "org.freedesktop.portal.Desktop", G_BUS_NAME_OWNER_FLAGS_NONE,
      [](GDBusConnection*, const gchar*, gpointer) {
        std::printf("ready\n");
        std::fflush(stdout);
      },
      [](GDBusConnection*, const gchar*, gpointer) { g_main_loop_quit(g_loop); }, nullptr, nullptr);
  g_main_loop_run(g_loop);
  return 0;
}
