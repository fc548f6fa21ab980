#!/usr/bin/env python3
"""Lays out the benchmark's drive on the Linux side (Wine creates files far
more slowly): E:\\Lessons with a few files, a folder of 100,000 files and
one of 20,000 subfolders. Usage: make_drive.py DRIVE_FOLDER"""
import os
import sys

drive = sys.argv[1]
lessons = os.path.join(drive, "Lessons")
files = os.path.join(lessons, "files")
folders = os.path.join(lessons, "folders")
os.makedirs(files, exist_ok=True)
os.makedirs(folders, exist_ok=True)
with open(os.path.join(drive, "Verondel设置.ini"), "wb") as settings:
    settings.write(b"Lessons\r\n")
for name in ("a.txt", "b.txt", "c.txt"):
    open(os.path.join(drive, name), "w").close()
for name in ("课程说明.txt", "slides.ppt"):
    open(os.path.join(lessons, name), "w").close()
for i in range(100000):
    open(os.path.join(files, f"第{i}课 lesson {i % 97}.txt"), "w").close()
for i in range(20000):
    os.mkdir(os.path.join(folders, f"Week{i}"))
