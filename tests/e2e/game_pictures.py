"""The game's own pictures as its screens show them, and how near a grab of the screen is to each.

The pictures are read from a built Data/ folder and scaled the way the game draws them: the
full-screen quad shows the texture rows from t 0.255 to 1, the top 763 rows of the 1024x1024
picture stretched over 768 rows. A grab is an x_display.Image of the 1024x768 drawing space,
whether it comes from an X server (the desktop tests) or from a browser (the web test).
"""

import os
import subprocess

import x_display

PICTURE_PATHS = {
    "logo": "Kuvat/Taustat/logo.jpg",
    "menu": "Kuvat/Taustat/menu.jpg",
    "playmenu": "Kuvat/Taustat/playmenu.jpg",
    "help": "Kuvat/Taustat/help.jpg",
    "levelselect": "Kuvat/Taustat/loadgame.jpg",
    "gameover": "Kuvat/Taustat/GO.jpg",
    "credits": "Kuvat/Taustat/Credits.jpg",
    "level1": "Kuvat/Taustat/runtausta1.jpg",
    "level2": "Kuvat/Taustat/runtausta2.jpg",
    "level3": "Kuvat/Taustat/runtausta3.jpg",
    "level4": "Kuvat/Taustat/runtausta4.jpg",
    "level5": "Kuvat/Taustat/runtausta5.jpg",
}

# Mean channel difference (0..255) under which the screen counts as showing a picture. A plain
# picture screen reads below 1; a level with its HUD, ball, board and blocks below 6; two
# different pictures of the game differ by more than 10.
PICTURE_MATCH = 2.5
LEVEL_MATCH = 7.0
SAMPLE_STEP = 16

DRAWING_WIDTH = 1024
DRAWING_HEIGHT = 768


def is_level(name):
    return name.startswith("level") and name != "levelselect"


class GamePictures:
    """The pictures of one Data/ folder, each read once (with ImageMagick's convert)."""

    def __init__(self, data):
        self.data = data
        self.references = {}

    def read_all(self):
        for name in PICTURE_PATHS:
            self.reference(name)

    def reference(self, name):
        if name not in self.references:
            path = os.path.join(self.data, PICTURE_PATHS[name])
            rgb = subprocess.run(
                ["convert", path, "-crop", "1024x763+0+0", "+repage", "-resize", "1024x768!",
                 "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
            self.references[name] = x_display.Image.from_rgb(DRAWING_WIDTH, DRAWING_HEIGHT, rgb)
        return self.references[name]

    def difference(self, image, name, step=SAMPLE_STEP):
        """Mean difference of a grab of the drawing space (from its top-left) to a picture."""
        reference = self.reference(name)
        total = 0
        count = 0
        for y in range(step // 2, image.height, step):
            for x in range(step // 2, image.width, step):
                mine = (y * image.width + x) * 4
                theirs = (y * DRAWING_WIDTH + x) * 4
                for channel in range(3):
                    total += abs(image.data[mine + channel] - reference.data[theirs + channel])
                count += 3
        return total / count

    def classify(self, image):
        """(name, difference) of the game picture nearest to the grab."""
        scores = sorted((self.difference(image, name), name) for name in PICTURE_PATHS)
        return scores[0][1], scores[0][0]

    def shows(self, name, image, slack=1.0):
        """Whether the grab shows the picture of name; slack widens the limit for a renderer
        whose sampling differs a little from Mesa's."""
        nearest, difference = self.classify(image)
        limit = LEVEL_MATCH if is_level(name) else PICTURE_MATCH
        return nearest == name and difference < limit * slack
