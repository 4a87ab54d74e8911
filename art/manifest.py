"""The names of every file the generator writes, relative to its output folder.

Kept free of drawing code so the build can ask for the list without loading the painter.
"""
LARGE_BUTTONS = ("adorn", "pretend", "default", "ok", "cancel", "select", "clear")
WINDOW_BUTTONS = ("min", "close")
LINK_BUTTONS = ("home", "email", "help", "about")
PRESSABLE_STATES = ("up", "hot", "down")
LINK_STATES = ("up", "hot")
TARGET_COUNT = 8

# Display scales in percent beyond 96 DPI (100%). Each has its own set of the windows' pictures,
# drawn at that size and stored compressed: <name>_<percent>.png, the splash as a JPEG.
SCALES = (125, 150, 175, 200, 250)

# Icon image sizes. The program's icon covers every size the shell asks for up to 256 (kept as
# PNG inside the file, as the shell's own are). The library's icons serve as folder icons and in
# the icon preview, which shows the 32-pixel image at 96 DPI and the one of its scale beyond.
PROGRAM_ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 96, 128, 256)
LIBRARY_ICON_SIZES = (16, 20, 24, 32, 40, 48, 56, 64, 80, 256)
PNG_ICON_SIZE = 256   # images this large are stored PNG-compressed

# The icon library in the order the icon picker offers it: plain colours, then emblems.
LIBRARY = (
    "folder_yellow", "folder_blue", "folder_green", "folder_red", "folder_purple", "folder_orange",
    "folder_grey", "folder_pink", "folder_star", "folder_heart", "folder_lock", "folder_music",
    "folder_pictures", "folder_documents", "folder_downloads", "folder_code", "folder_archive",
    "folder_games", "folder_work", "folder_favourites", "folder_video", "folder_settings",
    "folder_cloud",
)


def button_stems():
    stems = []
    for name in LARGE_BUTTONS + WINDOW_BUTTONS:
        stems += [f"btn_{name}_{state}" for state in PRESSABLE_STATES]
    for name in LINK_BUTTONS:
        stems += [f"btn_{name}_{state}" for state in LINK_STATES]
    return stems


def window_pictures():
    """The stems of the pictures every scale has: skins, buttons, targets."""
    return (["skin_main", "skin_dialog"] + button_stems()
            + [f"target_{i}" for i in range(TARGET_COUNT)])


def scaled_files(percent):
    """The windows' pictures, the splash and the About box's logo of one larger scale."""
    return ([f"{stem}_{percent}.png" for stem in window_pictures()]
            + [f"splash_{percent}.jpg", f"logo_64_{percent}.bmp"])


def outputs():
    files = ([f"{stem}.dibz" for stem in window_pictures()]
             + ["splash.jpg", "quorrel.ico", "logo_64.bmp"]
             + [f"library/{name}.ico" for name in LIBRARY]
             + ["preview.png", "preview_icons.png"])
    for percent in SCALES:
        files += scaled_files(percent) + [f"preview_{percent}.png"]
    return files + ["pixel_sums.txt"]
