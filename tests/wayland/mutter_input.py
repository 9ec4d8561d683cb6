#!/usr/bin/python3
# Keys for a headless Mutter through its RemoteDesktop service. A remote-desktop session
# lives as long as the D-Bus connection that made it, so one process holds it: reads "key KEYSYM"
# (X keysym, hex) lines and answers "ok" once Mutter has taken each.
import sys

import dbus

bus = dbus.SessionBus()
name = 'org.gnome.Mutter.RemoteDesktop'
path = dbus.Interface(bus.get_object(name, '/org/gnome/Mutter/RemoteDesktop'),
                      name).CreateSession()
session = dbus.Interface(bus.get_object(name, path), name + '.Session')
session.Start()
# Mutter adds the session's keyboard and pointer to the seat at their first event: a client
# started before that has no keyboard to receive the first key on.
session.NotifyKeyboardKeysym(dbus.UInt32(0xffe1), True)  # Shift_L
session.NotifyKeyboardKeysym(dbus.UInt32(0xffe1), False)
session.NotifyPointerMotionRelative(0.0, 0.0)
print('ready', flush=True)
for line in sys.stdin:
    words = line.split()
    if words[:1] == ['key'] and len(words) == 2:
        for pressed in (True, False):
            session.NotifyKeyboardKeysym(dbus.UInt32(int(words[1], 16)), pressed)
    else:
        sys.exit('mutter_input: command: key KEYSYM')
    print('ok', flush=True)
