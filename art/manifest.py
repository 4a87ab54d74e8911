"""The names of every file the generator writes, relative to its output folder.

Kept free of drawing code so the build can ask for the list without loading the painter.
"""
LARGE_BUTTONS = ("adorn", "pretend", "default", "ok", "cancel", "select", "clear")
WINDOW_BUTTONS = ("min", "close")
LINK_BUTTONS = ("home", "email", "help", "about")
PRESSABLE_STATES = ("up", "hot", "down")
LINK_STATES = ("up", "hot")
TARGET_COUNT = 8

# The icon library in the order the icon picker offers it: plain colours, then emblems.
LIBRARY = (
    "folder_yellow", "folder_blue", "folder_green", "folder_red", "folder_purple", "folder_orange",
    "folder_grey", "folder_pink", "folder_star", "folder_heart", "folder_lock", "folder_music",
    "folder_pictures", "folder_documents", "folder_downloads", "folder_code", "folder_archive",
    "folder_games", "folder_work", "folder_favourites", "folder_video", "folder_settings",
    "folder_cloud",
)


def button_files():
    names = []
    for name in LARGE_BUTTONS + WINDOW_BUTTONS:
        names += [f"btn_{name}_{state}.bmp" for state in PRESSABLE_STATES]
    for name in LINK_BUTTONS:
        names += [f"btn_{name}_{state}.bmp" for state in LINK_STATES]
    return names


def outputs():
    return (["skin_main.bmp", "skin_dialog.bmp"] + button_files()
            + [f"target_{i}.bmp" for i in range(TARGET_COUNT)]
            + ["splash.jpg", "quorrel.ico", "logo_64.bmp"]
            + [f"library/{name}.ico" for name in LIBRARY]
            + ["preview.png"])
