// The yardstick for the game's CPU cost: a bare Allegro program that only clears and flips a
// full-screen display at 60 Hz, made the same way as the game's. Quits on Escape.
// With the argument "map" it also draws one 640 x 480 picture per frame, scaled to the display's
// height like the game's map: the least any program showing such a picture pays.
#include <allegro5/allegro.h>

#include <cstring>

int main(int argc, char** argv)
{
    const bool withMap = argc > 1 && std::strcmp(argv[1], "map") == 0;
    if (!al_init()) return 1;
    al_install_keyboard();
    ALLEGRO_MONITOR_INFO monitor;
    if (!al_get_monitor_info(0, &monitor)) return 1;
    al_set_new_display_flags(ALLEGRO_FULLSCREEN | ALLEGRO_OPENGL | ALLEGRO_GENERATE_EXPOSE_EVENTS);
    ALLEGRO_DISPLAY* display = al_create_display(monitor.x2 - monitor.x1, monitor.y2 - monitor.y1);
    if (!display) return 1;
    al_set_window_title(display, "Quenmarsh");  // found by the same search as the game
    ALLEGRO_TIMER* timer = al_create_timer(1.0 / 60.0);
    ALLEGRO_EVENT_QUEUE* queue = al_create_event_queue();
    al_register_event_source(queue, al_get_keyboard_event_source());
    al_register_event_source(queue, al_get_display_event_source(display));
    al_register_event_source(queue, al_get_timer_event_source(timer));
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    ALLEGRO_BITMAP* map = al_create_bitmap(640, 480);
    al_set_target_bitmap(map);
    al_clear_to_color(al_map_rgb(60, 110, 50));
    al_set_target_backbuffer(display);
    ALLEGRO_TRANSFORM mapScale, identity;
    al_identity_transform(&identity);
    al_identity_transform(&mapScale);
    const float scale = (float)al_get_display_height(display) / 480.0f;
    al_scale_transform(&mapScale, scale, scale);
    al_start_timer(timer);

    bool running = true;
    while (running) {
        bool redraw = false;
        ALLEGRO_EVENT event;
        al_wait_for_event(queue, nullptr);
        while (al_get_next_event(queue, &event)) {
            if (event.type == ALLEGRO_EVENT_TIMER) redraw = true;
            if (event.type == ALLEGRO_EVENT_DISPLAY_CLOSE) running = false;
            if (event.type == ALLEGRO_EVENT_KEY_DOWN && event.keyboard.keycode == ALLEGRO_KEY_ESCAPE)
                running = false;
        }
        if (redraw) {
            al_clear_to_color(al_map_rgb(0, 0, 0));
            if (withMap) {
                al_use_transform(&mapScale);
                al_draw_bitmap(map, 0, 0, 0);
                al_use_transform(&identity);
            }
            al_flip_display();
        }
    }
    al_destroy_bitmap(map);
    al_destroy_event_queue(queue);
    al_destroy_timer(timer);
    al_destroy_display(display);
    return 0;
}
