#!/usr/bin/env python3
"""Makes E:\\huge, a folder of 100,000 empty .lesson files with varied names,
on the Linux side before Wine starts (through Wine it takes minutes).
Usage: make_fault_drive.py DRIVE_FOLDER"""
import os
import sys

huge = os.path.join(sys.argv[1], "huge")
os.makedirs(huge, exist_ok=True)
forms = ("第{}课 课件.lesson", "Lesson {:06d} (draft).lesson", "notes.{}..v2.lesson", "Étude-{}.lesson")
for i in range(100000):
    open(os.path.join(huge, forms[i % 4].format(i)), "w").close()
