#!/usr/bin/python3
# A player with ten weeks of play for the statistics screen's screenshot: the
# profile as `zentrika-profile import` reads it, answer log included, printed.
# Usage: scripts/statistics_profile.py [today as YYYY-MM-DD] > profile.json
import datetime
import json
import random
import sys

random.seed(7)
recs=[]; pts=30; lvl=1
today=datetime.date.fromisoformat(sys.argv[1]) if len(sys.argv) > 1 else datetime.date.today()
start=today-datetime.timedelta(days=70)
d=start
# Up to yesterday: a record ahead of the clock would be left out.
while d<today:
    if random.random()<0.55:
        t=datetime.datetime(d.year,d.month,d.day,15,0,tzinfo=datetime.timezone.utc)
        for k in range(random.randint(1,9)):
            t+=datetime.timedelta(minutes=random.randint(2,9))
            g=random.choice([0,0,1,1,2]); kind=random.choice([0,0,0,1,1,2,3,4])
            r=random.random()
            if r<0.12:
                b=pts; pts-= [5,10,15][g]; recs.append(dict(time=t.isoformat(),event="hint",puzzle=1+k,difficulty=g,kind=kind,before=b,after=pts,seconds=40,level=lvl))
            elif r<0.17:
                b=pts; pts-=20; recs.append(dict(time=t.isoformat(),event="solution",puzzle=1+k,difficulty=g,kind=kind,before=b,after=pts,seconds=100,level=lvl))
            elif r<0.35:
                b=pts; pts=max(0,pts-[4,6,8][g]); recs.append(dict(time=t.isoformat(),event="wrong",puzzle=1+k,difficulty=g,kind=kind,before=b,after=pts,seconds=60,level=lvl,typed="12"))
            else:
                b=pts; pts+=[10,20,30][g]; recs.append(dict(time=t.isoformat(),event="right",puzzle=1+k,difficulty=g,kind=kind,before=b,after=pts,seconds=random.randint(30,60*(g+2)*2),level=lvl))
            if len(recs)%40==0 and lvl<4:
                lvl+=1; t+=datetime.timedelta(seconds=5); recs.append(dict(time=t.isoformat(),event="level",puzzle=0,difficulty=-1,kind=-1,before=pts,after=pts,seconds=0,level=lvl))
    d+=datetime.timedelta(days=1)
profile={"Name":"Марина","Label Index":3,"Level":lvl,"Scores":pts,"Answer log":recs,
         "Used Problems Info":[],"Used Problems count":0,"Problems on Level Info":[],"Problems on Level count":0}
for event,keys in (("right",("LD","MD","HD")),("wrong",("LU","MU","HU"))):
    for grade,key in enumerate(keys):
        profile[key]=sum(1 for r in recs if r["event"]==event and r.get("difficulty")==grade)
print(json.dumps(profile,ensure_ascii=False))
