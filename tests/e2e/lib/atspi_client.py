"""What the end-to-end tests do through the accessibility interface: find the
game on the bus, find controls by name and role, press them."""
import sys
import time

import pyatspi


def wait_for(what, find, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        try:
            found = find()
        except Exception:
            found = None
        if found:
            return found
        time.sleep(0.2)
    sys.exit("not found within %d s: %s" % (seconds, what))


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for a in desktop:
        if a is not None and (a.name or '').lower() == 'zentrika':
            return a
    return None


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def find(root, name=None, role=None):
    def match(acc):
        return (acc is not None and (name is None or acc.name == name)
                and (role is None or acc.getRole() == role) and showing(acc))
    return pyatspi.findDescendant(root, match)


def focused(root):
    """The control that has the keyboard, or None."""
    return pyatspi.findDescendant(root, lambda a: a is not None and a.getState().contains(pyatspi.STATE_FOCUSED)
                                  and showing(a))


def press(acc):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index('press') if 'press' in names else 0)


def open_and_cancel_player_selection(game, on_open=None):
    """«Новая игра» opens the player selection; «Назад» closes it again.
    on_open: a further check while it is open."""
    press(wait_for('"Новая игра" as a push button', lambda: find(game, 'Новая игра', pyatspi.ROLE_PUSH_BUTTON)))
    wait_for('the player selection', lambda: find(game, 'Продолжить игру', pyatspi.ROLE_RADIO_BUTTON))
    wait_for('the name box', lambda: find(game, 'Имя пользователя', pyatspi.ROLE_COMBO_BOX))
    if on_open:
        on_open()
    print('player selection opened')
    press(wait_for('"Назад"', lambda: find(game, 'Назад', pyatspi.ROLE_PUSH_BUTTON)))
    wait_for('the player selection to close',
             lambda: find(game, 'Продолжить игру', pyatspi.ROLE_RADIO_BUTTON) is None or None)


def open_collection(game, titles):
    """«Головоломки» opens the collection: one list item per puzzle, each a
    title of the catalogue with its difficulty. Returns the rows."""
    press(wait_for('"Головоломки"', lambda: find(game, 'Головоломки', pyatspi.ROLE_PUSH_BUTTON)))
    puzzles = wait_for('the puzzle list', lambda: find(game, role=pyatspi.ROLE_LIST))
    rows = wait_for('the rows', lambda: puzzles.childCount == len(titles) and list(puzzles))
    for row in rows:
        assert row.getRole() == pyatspi.ROLE_LIST_ITEM, row.getRoleName()
        assert row.name in titles, row.name
        assert row.description.startswith('сложность: '), row.description
    print('%d rows, e.g. "%s" (%s)' % (len(rows), rows[0].name, rows[0].description))
    return rows
