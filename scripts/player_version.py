"""The web player's version, from its one source, web/js/version.js."""
import re
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def player_version():
    text = (ROOT / "web/js/version.js").read_text()
    return re.search(r'PLAYER_VERSION = "([0-9A-Za-z.+-]+)"', text).group(1)
