#!/usr/bin/env python3
"""Lays out the benchmark's drive on the Linux side (Wine creates files far
more slowly): E:\\Lessons with a few files, a folder of 100,000 files and
one of 20,000 subfolders. The names are as teachers' material is really
named: long, Chinese, with numbers in digits and in Chinese numerals, so
that the benchmark pays what the order of names costs.
Usage: make_drive.py DRIVE_FOLDER"""
import itertools
import os
import sys

DIGITS = "零一二三四五六七八九"


def numeral(n):
    """1..99 in Chinese numerals: 三, 十, 十一, 二十, 二十五."""
    tens, units = divmod(n, 10)
    text = "" if tens == 0 else ("十" if tens == 1 else DIGITS[tens] + "十")
    return text + (DIGITS[units] if units else "")


PUBLISHERS = ["人教版", "北师大版", "苏教版", "部编版"]
TERMS = ["上册", "下册"]
SUBJECTS = ["语文", "数学", "英语", "科学", "美术", "音乐", "道德与法治"]
TITLES = ["多位数乘一位数", "观察物体", "位置与方向", "分数的初步认识", "长方形和正方形",
          "万以内的加法和减法", "测量", "时、分、秒", "倍的认识", "数学广角——集合"]
TOPICS = ["口算乘法", "笔算乘法", "解决问题", "整理和复习", "练习课", "单元复习"]
KINDS = [("课件", ".pptx"), ("教案", ".docx"), ("学案", ".docx"), ("课堂练习（含答案）", ".pdf"),
         ("微课视频", ".mp4")]


def courseware(publisher, grade, term, subject, unit, lesson, kind):
    """人教版三年级上册数学第六单元《多位数乘一位数》第1课时 口算乘法 课件.pptx;
    every other publisher writes the lesson in numerals (第十一课时)."""
    title = TITLES[(unit + subject) % len(TITLES)]
    topic = TOPICS[lesson % len(TOPICS)]
    lesson_text = str(lesson) if publisher % 2 == 0 else numeral(lesson)
    words, extension = KINDS[kind]
    return (f"{PUBLISHERS[publisher]}{numeral(grade)}年级{TERMS[term]}{SUBJECTS[subject]}"
            f"第{numeral(unit)}单元《{title}》第{lesson_text}课时 {topic} {words}{extension}")


def week_folder(grade, group, week, subject):
    """三年级(12)班 第十一周 数学."""
    return f"{numeral(grade)}年级({group})班 第{numeral(week)}周 {SUBJECTS[subject]}"


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

every_file = itertools.product(range(4), range(1, 7), range(2), range(len(SUBJECTS)), range(1, 11),
                               range(1, 13), range(len(KINDS)))
for fields in itertools.islice(every_file, 100000):
    open(os.path.join(files, courseware(*fields)), "w").close()
every_folder = itertools.product(range(1, 7), range(1, 25), range(1, 21), range(len(SUBJECTS)))
for fields in itertools.islice(every_folder, 20000):
    os.mkdir(os.path.join(folders, week_folder(*fields)))
