/* The peer a user would pick for such a program: a GTK 3 main window with a
 * menu bar and a tool bar of the same items and icons as the demo's main
 * window (the glyphs cut from the same 24-pixel strips, magenta made
 * transparent), of the same size.  Writes "frame" to ZEL_FIRST_FRAME_FD once
 * its first frame has been painted and the X server has it.
 *
 *   zel_peer_gtk [RESOURCE_BITMAP_DIR]   (default: the source tree's) */
#include <gtk/gtk.h>
#include <stdlib.h>
#include <unistd.h>

static GdkPixbuf *gStrip, *gCustom;
static gboolean gDrawn;

/* Image i of the main window's list: 0-35 from the strip, 36-41 from the
 * window's own six. */
static GtkWidget* Icon(int i) {
  GdkPixbuf* from = i < 36 ? gStrip : gCustom;
  if (!from) return gtk_image_new();
  const int cell = i < 36 ? i : i - 36;
  GdkPixbuf* sub = gdk_pixbuf_new_subpixbuf(from, cell * 24, 0, 24, 24);
  GtkWidget* image = gtk_image_new_from_pixbuf(sub);
  g_object_unref(sub);
  return image;
}

static GtkWidget* Item(GtkWidget* menu, const char* caption, int icon, gboolean enabled) {
  GtkWidget* item = gtk_menu_item_new();
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
  gtk_container_add(GTK_CONTAINER(box), icon >= 0 ? Icon(icon) : gtk_image_new());
  gtk_container_add(GTK_CONTAINER(box), gtk_label_new_with_mnemonic(caption));
  gtk_container_add(GTK_CONTAINER(item), box);
  gtk_widget_set_sensitive(item, enabled);
  gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
  return item;
}

static GtkWidget* Submenu(GtkWidget* bar, const char* caption, int icon) {
  GtkWidget* top = Item(bar, caption, icon, TRUE);
  GtkWidget* menu = gtk_menu_new();
  gtk_menu_item_set_submenu(GTK_MENU_ITEM(top), menu);
  return menu;
}

static GdkPixbuf* Strip(const char* dir, const char* name) {
  char* path = g_build_filename(dir, name, NULL);
  GdkPixbuf* raw = gdk_pixbuf_new_from_file(path, NULL);
  g_free(path);
  if (!raw) return NULL;
  GdkPixbuf* keyed = gdk_pixbuf_add_alpha(raw, TRUE, 0xFF, 0x00, 0xFF);
  g_object_unref(raw);
  return keyed;
}

static gboolean OnDraw(GtkWidget* w, cairo_t* cr, gpointer data) {
  (void)w, (void)cr, (void)data;
  gDrawn = TRUE;
  return FALSE;
}

/* After the frame clock's paint phase the window's pixels have been copied
 * to the X window; a round trip makes sure the server has them. */
static void OnAfterPaint(GdkFrameClock* clock, gpointer window) {
  if (!gDrawn) return;
  gdk_display_sync(gtk_widget_get_display(GTK_WIDGET(window)));
  const char* fd = getenv("ZEL_FIRST_FRAME_FD");
  if (fd) {
    ssize_t n = write(atoi(fd), "frame\n", 6);
    (void)n;
  }
  g_signal_handlers_disconnect_by_func(clock, (gpointer)OnAfterPaint, window);
}

static void OnRealize(GtkWidget* window, gpointer data) {
  (void)data;
  GdkFrameClock* clock = gdk_window_get_frame_clock(gtk_widget_get_window(window));
  g_signal_connect(clock, "after-paint", G_CALLBACK(OnAfterPaint), window);
}

int main(int argc, char** argv) {
  const char* dir = argc > 1 ? argv[1] : ZEL_BITMAP_DIR;
  gtk_init(&argc, &argv);
  gStrip = Strip(dir, "STANDARTBTN_24.bmp");
  gCustom = Strip(dir, "MAINFORM_CUSTOM_24.bmp");

  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "MainForm");
  gtk_window_set_default_size(GTK_WINDOW(window), 622, 422);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
  g_signal_connect(window, "realize", G_CALLBACK(OnRealize), NULL);
  g_signal_connect_after(window, "draw", G_CALLBACK(OnDraw), NULL);

  GtkAccelGroup* keys = gtk_accel_group_new();
  gtk_window_add_accel_group(GTK_WINDOW(window), keys);
  GtkWidget* bar = gtk_menu_bar_new();
  GtkWidget* files = Submenu(bar, "_Файлы", -1);
  Item(files, "_Новая форма", 12, TRUE);
  gtk_menu_shell_append(GTK_MENU_SHELL(files), gtk_separator_menu_item_new());
  GtkWidget* exit = Item(files, "_Выход", 0, TRUE);
  gtk_widget_add_accelerator(exit, "activate", keys, GDK_KEY_x, GDK_MOD1_MASK, GTK_ACCEL_VISIBLE);
  g_signal_connect(exit, "activate", G_CALLBACK(gtk_main_quit), NULL);
  GtkWidget* windows = Submenu(bar, "_Окно", 40);
  Item(windows, "_Каскад", 36, FALSE);
  Item(windows, "По _горизонтали", 37, FALSE);
  Item(windows, "По _вертикали", 38, FALSE);
  Item(windows, "_Скрыть все", 39, FALSE);
  Item(windows, "_Панели инструментов", -1, FALSE);
  Item(windows, "_Дополнительные настройки", 41, TRUE);
  gtk_menu_shell_append(GTK_MENU_SHELL(windows), gtk_separator_menu_item_new());
  Item(bar, "_Помощь", 5, FALSE);

  GtkWidget* tools = gtk_toolbar_new();
  gtk_toolbar_set_style(GTK_TOOLBAR(tools), GTK_TOOLBAR_ICONS);
  GtkToolItem* quit = gtk_tool_button_new(Icon(0), "Выход");
  gtk_tool_item_set_tooltip_text(quit, "Завершить работу приложения");
  g_signal_connect(quit, "clicked", G_CALLBACK(gtk_main_quit), NULL);
  gtk_toolbar_insert(GTK_TOOLBAR(tools), quit, -1);

  GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_box_pack_start(GTK_BOX(column), bar, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(column), tools, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(column), gtk_drawing_area_new(), TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(window), column);
  gtk_widget_show_all(window);
  gtk_main();
  if (gStrip) g_object_unref(gStrip);
  if (gCustom) g_object_unref(gCustom);
  return 0;
}
