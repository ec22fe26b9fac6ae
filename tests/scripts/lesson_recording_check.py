"""Records the first tutorial lesson and checks what a lesson player needs:
a Windows Media video in an ASF container at 10 frames a second holding as
many frames as the recorder made, and a caption file (Windows-1252, CR LF)
whose first line is the lesson's title and whose frame numbers rise and lie
within the video.

Usage: lesson_recording_check.py RECORDER SAMPLES APP_DIR

Exit status 0 passed, 1 failed, 77 skipped when ffmpeg or ffprobe is missing.
"""

import json
import re
import shutil
import subprocess
import sys
import tempfile

TITLE = "1. Creating a new project"


def fail(message):
    print("lesson check: " + message, file=sys.stderr)
    sys.exit(1)


def probe(video):
    reply = subprocess.run(
        ["ffprobe", "-v", "error", "-count_frames", "-show_entries",
         "format=format_name:stream=codec_name,r_frame_rate,nb_read_frames",
         "-of", "json", video], capture_output=True, text=True, check=True)
    found = json.loads(reply.stdout)
    return found["format"], found["streams"][0]


def captions(path):
    raw = open(path, "rb").read()
    if not raw.endswith(b"\r\n") or b"\n" in raw.replace(b"\r\n", b""):
        fail("the caption lines do not all end in CR LF")
    lines = raw.decode("cp1252").split("\r\n")[:-1]
    frames = []
    for line in lines[1:]:
        match = re.fullmatch(r"(\d+) +(\S.*)", line)
        if not match:
            fail("caption line %r is not a frame number, blanks and a caption" % line)
        frames.append(int(match.group(1)))
    return lines[0], frames


def main():
    recorder, samples, app_dir = sys.argv[1:4]
    if not shutil.which("ffmpeg") or not shutil.which("ffprobe"):
        print("lesson check: skipped, ffmpeg is not installed", file=sys.stderr)
        return 77
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run(
            [recorder, "--out", out, "--samples", samples, "--app-dir", app_dir, "--lesson", "1"],
            capture_output=True, text=True, timeout=600)
        if run.returncode != 0:
            fail("the recorder ended with %d:\n%s" % (run.returncode, run.stderr))
        made = re.search(r"^info: lesson1: (\d+) frames", run.stderr, re.M)
        if not made:
            fail("the recorder did not say how many frames it made:\n" + run.stderr)
        made = int(made.group(1))

        container, stream = probe(out + "/lesson1.wmv")
        if "asf" not in container["format_name"] or stream["codec_name"] != "wmv2":
            fail("the video is %s / %s, not ASF / WMV" % (container["format_name"],
                                                          stream["codec_name"]))
        if stream["r_frame_rate"] != "10/1":
            fail("the video runs at %s frames a second" % stream["r_frame_rate"])
        if int(stream["nb_read_frames"]) != made:
            fail("the video holds %s frames, the recorder made %d" % (stream["nb_read_frames"],
                                                                       made))
        if not 300 <= made <= 1800:
            fail("the lesson lasts %d frames, not 30 s to 3 minutes" % made)

        title, frames = captions(out + "/lesson1.txt")
        if title != TITLE:
            fail("the caption file's title is %r" % title)
        if len(frames) < 5 or frames[0] != 0:
            fail("the captions start at %s" % frames[:1])
        if any(later <= earlier for earlier, later in zip(frames, frames[1:])):
            fail("the caption frames do not rise: %s" % frames)
        if frames[-1] >= made:
            fail("the last caption starts at frame %d of %d" % (frames[-1], made))
    return 0


if __name__ == "__main__":
    sys.exit(main())
