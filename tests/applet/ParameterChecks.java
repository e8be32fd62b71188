import java.awt.Color;
import java.awt.Font;
import java.net.URL;

/** Reading of the applet's parameters: names, formats, defaults and the three texts. */
class ParameterChecks {
    static void run(Workspace site, Checks checks) throws Exception {
        site.picture("a.gif", 20, 10, Color.red, "gif");
        site.picture("img/b.jpg", 30, 15, Color.blue, "jpeg");
        defaults(site, checks);
        imageList(site, checks);
        names(site, checks);
        fonts(site, checks);
        movement(site, checks);
        colours(site, checks);
        numbers(site, checks);
        edges(site, checks);
        references(site, checks);
    }

    static quilanim applet(HarnessHost host) {
        return AppletHarness.prepare(new quilanim(), host, 200, 100);
    }

    static void defaults(Workspace site, Checks checks) throws Exception {
        HarnessHost host = site.host().param("imagelist", "a.gif");
        quilanim a = applet(host);
        checks.equal("default pause", 100, a.pauseMillis());
        checks.equal("default end delay", 0, a.endDelayMillis());
        checks.equal("default repeat is endless", -1, a.repeatCount());
        checks.isTrue("default bounces", a.bounces());
        checks.equal("default move x", 0, a.moveX());
        checks.equal("default move y", 0, a.moveY());
        checks.equal("default background colour", new Color(192, 192, 192), a.backgroundColour());
        checks.equal("no captions without a caption list", null, a.captions());
        checks.equal("no caption font without a caption list", null, a.captionFont());
        checks.isTrue("font parameters not read without captions",
                !host.asked("FontName") && !host.asked("FontStyle") && !host.asked("FontSize"));
        checks.equal("no background picture", null, a.backgroundUrl());
        checks.equal("no soundtrack", null, a.soundtrackUrl());
        checks.equal("no status text for good parameters", 0, host.statuses.size());
        checks.equal("nothing to report", null, a.problem());
    }

    static void imageList(Workspace site, Checks checks) throws Exception {
        String[] missing = { null, "", ",", " , ,, " };
        for (int i = 0; i < missing.length; i++) {
            HarnessHost host = site.host();
            if (missing[i] != null)
                host.param("imagelist", missing[i]);
            quilanim a = applet(host);
            String row = "image list " + Checks.show(missing[i]);
            checks.equal(row + ": status", "[" + quilanim.NO_IMAGE_LIST + "]", host.statuses.toString());
            checks.equal(row + ": drawn text", "No image list. Essential!", a.problem());
            a.start();
            checks.equal(row + ": does not run", null, a.animatorThread());
            a.destroy();
        }

        // Empty entries are skipped together with their captions.
        HarnessHost host = site.host().param("imagelist", "a.gif,,img/b.jpg,")
                .param("captionlist", "First|none|Second|x|y");
        quilanim a = applet(host);
        URL[] urls = a.imageUrls();
        checks.equal("entries kept", 2, urls.length);
        checks.equal("entry resolved against the page", new URL(site.documentBase, "a.gif"), urls[0]);
        checks.equal("entry in a sub-folder", new URL(site.documentBase, "img/b.jpg"), urls[1]);
        checks.equal("captions follow their pictures", new String[] { "First", "Second" }, a.captions());
        checks.isTrue("pictures load", a.loadMedia());
        checks.equal("frames loaded", 2, a.frameCount());

        // Fewer captions than pictures: the rest have none; empty captions keep their place.
        a = applet(site.host().param("imagelist", "a.gif,a.gif,a.gif,a.gif").param("captionlist", "A||C"));
        checks.equal("short caption list", new String[] { "A", "", "C", "" }, a.captions());

        // "%" and "," in a file name arrive as %25 and %2C and still name the file.
        site.picture("odd/50% off,x.gif", 12, 34, Color.green, "gif");
        a = applet(site.host().param("imagelist", "odd/50%25 off%2Cx.gif"));
        checks.equal("escapes stay URL escapes", new URL(site.documentBase, "odd/50%25 off%2Cx.gif"),
                a.imageUrls()[0]);
        checks.isTrue("escaped name loads", a.loadMedia() && a.frameCount() == 1);

        // A picture that cannot be loaded is left out of the show.
        a = applet(site.host().param("imagelist", "gone.gif,a.gif").param("captionlist", "lost|kept"));
        checks.isTrue("a missing picture is left out", a.loadMedia() && a.frameCount() == 1);
    }

    static void names(Workspace site, Checks checks) {
        // A browser matches names without case.
        HarnessHost host = site.host().param("ImageList", "a.gif").param("Pause", "250")
                .param("EndDelay", "40").param("Repeat", "3").param("Bounce", "no")
                .param("Move", "2,3").param("Bg", "#010203").param("CaptionList", "c")
                .param("fontname", "Courier").param("FONTSIZE", "9").param("fontStyle", "1");
        quilanim a = applet(host);
        checkNamed(checks, "mixed-case names", a);

        // A host that matches names exactly still gets the lower-case names the writer uses.
        host = site.host().param("imagelist", "a.gif").param("pause", "250").param("enddelay", "40")
                .param("repeat", "3").param("bounce", "no").param("move", "2,3").param("bg", "#010203")
                .param("captionlist", "c").param("fontname", "Courier").param("fontsize", "9")
                .param("fontstyle", "1");
        host.strictNames = true;
        checkNamed(checks, "exact lower-case names", applet(host));
    }

    static void checkNamed(Checks checks, String row, quilanim a) {
        checks.equal(row + ": images", 1, a.imageUrls().length);
        checks.equal(row + ": pause", 250, a.pauseMillis());
        checks.equal(row + ": end delay", 40, a.endDelayMillis());
        checks.equal(row + ": repeat", 3, a.repeatCount());
        checks.isTrue(row + ": bounce", !a.bounces());
        checks.equal(row + ": move", "2,3", a.moveX() + "," + a.moveY());
        checks.equal(row + ": bg", new Color(1, 2, 3), a.backgroundColour());
        checks.equal(row + ": font", new Font("Courier", Font.BOLD, 9), a.captionFont());
    }

    static void fonts(Workspace site, Checks checks) {
        Object[][] rows = {
            // FontName, FontStyle, FontSize, expected font
            { null, null, null, new Font("Helvetica", Font.PLAIN, 12) },
            { "TimesRoman", "0", "16", new Font("TimesRoman", Font.PLAIN, 16) },
            { "Courier", "1", "20", new Font("Courier", Font.BOLD, 20) },
            { "Dialog", "2", "8", new Font("Dialog", Font.ITALIC, 8) },
            { "DialogInput", "3", "127", new Font("DialogInput", Font.BOLD | Font.ITALIC, 127) },
            { "Symbol", "7", "abc", new Font("Symbol", Font.PLAIN, 12) },
            { "", "bold", "0", new Font("Helvetica", Font.PLAIN, 12) },
            { "Courier", "-1", "-4", new Font("Courier", Font.PLAIN, 12) },
        };
        for (int i = 0; i < rows.length; i++) {
            HarnessHost host = site.host().param("imagelist", "a.gif").param("captionlist", "One");
            if (rows[i][0] != null)
                host.param("fontname", (String) rows[i][0]);
            if (rows[i][1] != null)
                host.param("fontstyle", (String) rows[i][1]);
            if (rows[i][2] != null)
                host.param("fontsize", (String) rows[i][2]);
            quilanim a = applet(host);
            checks.equal("font row " + i, rows[i][3], a.captionFont());
            checks.equal("font row " + i + ": caption", new String[] { "One" }, a.captions());
        }
    }

    static void movement(Workspace site, Checks checks) {
        Object[][] rows = {
            // MOVE value, x, y, message shown
            { "3,-2", 3, -2, Boolean.FALSE },
            { "0,0", 0, 0, Boolean.FALSE },
            { " 4 , 5 ", 4, 5, Boolean.FALSE },
            { "-3,2", -3, 2, Boolean.FALSE },
            { "3", 0, 0, Boolean.TRUE },
            { "a,b", 0, 0, Boolean.TRUE },
            { "1,2,3", 0, 0, Boolean.TRUE },
            { "", 0, 0, Boolean.TRUE },
            { ",0", 0, 0, Boolean.TRUE },
            { "-,0", 0, 0, Boolean.TRUE },
            { "5,", 0, 0, Boolean.TRUE },
            { "1.5,2", 0, 0, Boolean.TRUE },
        };
        for (int i = 0; i < rows.length; i++) {
            HarnessHost host = site.host().param("imagelist", "a.gif").param("move", (String) rows[i][0]);
            quilanim a = applet(host);
            String row = "move " + Checks.show(rows[i][0]);
            checks.equal(row + ": x", rows[i][1], a.moveX());
            checks.equal(row + ": y", rows[i][2], a.moveY());
            String expected = ((Boolean) rows[i][3]).booleanValue() ? "[Invalid movement param]" : "[]";
            checks.equal(row + ": status", expected, host.statuses.toString());
        }
    }

    static void colours(Workspace site, Checks checks) {
        Color fallback = new Color(170, 170, 170);
        Object[][] rows = {
            // BG value, colour, message shown
            { "#FF8000", new Color(255, 128, 0), Boolean.FALSE },
            { "#ff8000", new Color(255, 128, 0), Boolean.FALSE },
            { "#000000", new Color(0, 0, 0), Boolean.FALSE },
            { "10,20,30", new Color(10, 20, 30), Boolean.FALSE },
            { "255,255,255", new Color(255, 255, 255), Boolean.FALSE },
            { " 10, 20 ,30 ", new Color(10, 20, 30), Boolean.FALSE },
            { "#FF80", fallback, Boolean.TRUE },
            { "#", fallback, Boolean.TRUE },
            { "#GG0000", fallback, Boolean.TRUE },
            { "#FF80001", fallback, Boolean.TRUE },
            { "FF8000", fallback, Boolean.TRUE },
            { "1,2", fallback, Boolean.TRUE },
            { "1,2,3,4", fallback, Boolean.TRUE },
            { "256,0,0", fallback, Boolean.TRUE },
            { "-1,0,0", fallback, Boolean.TRUE },
            { "red", fallback, Boolean.TRUE },
            { "", fallback, Boolean.TRUE },
        };
        for (int i = 0; i < rows.length; i++) {
            HarnessHost host = site.host().param("imagelist", "a.gif").param("bg", (String) rows[i][0]);
            quilanim a = applet(host);
            String row = "bg " + Checks.show(rows[i][0]);
            checks.equal(row + ": colour", rows[i][1], a.backgroundColour());
            String expected = ((Boolean) rows[i][2]).booleanValue() ? "[Background messed up, using default]" : "[]";
            checks.equal(row + ": status", expected, host.statuses.toString());
        }
    }

    static void numbers(Workspace site, Checks checks) {
        Object[][] rows = {
            // parameter, value, expected (PAUSE, ENDDELAY: milliseconds; REPEAT: plays, -1 endless)
            { "pause", "250", 250 }, { "pause", "", 100 }, { "pause", "abc", 100 }, { "pause", "-5", 0 },
            { "pause", " 40 ", 40 }, { "pause", "0", 0 },
            { "enddelay", "300", 300 }, { "enddelay", "", 0 }, { "enddelay", "x", 0 }, { "enddelay", "-3", 0 },
            { "repeat", "3", 3 }, { "repeat", "1", 1 }, { "repeat", "abc", -1 }, { "repeat", "", -1 },
            { "repeat", "0", 1 }, { "repeat", "-2", 1 },
        };
        for (int i = 0; i < rows.length; i++) {
            String name = (String) rows[i][0];
            HarnessHost host = site.host().param("imagelist", "a.gif").param(name, (String) rows[i][1]);
            quilanim a = applet(host);
            int actual = name.equals("pause") ? a.pauseMillis()
                    : name.equals("enddelay") ? a.endDelayMillis() : a.repeatCount();
            checks.equal(name + " " + Checks.show(rows[i][1]), rows[i][2], actual);
            checks.equal(name + " " + Checks.show(rows[i][1]) + ": no status", 0, host.statuses.size());
        }
    }

    static void edges(Workspace site, Checks checks) {
        Object[][] rows = {
            { "yes", Boolean.TRUE }, { "YES", Boolean.TRUE }, { "true", Boolean.TRUE }, { "True", Boolean.TRUE },
            { "TRUE", Boolean.TRUE }, { "no", Boolean.FALSE }, { "false", Boolean.FALSE }, { "1", Boolean.FALSE },
            { "", Boolean.FALSE }, { "wrap", Boolean.FALSE },
        };
        for (int i = 0; i < rows.length; i++) {
            quilanim a = applet(site.host().param("imagelist", "a.gif").param("bounce", (String) rows[i][0]));
            checks.equal("bounce " + Checks.show(rows[i][0]), rows[i][1], Boolean.valueOf(a.bounces()));
        }
    }

    static void references(Workspace site, Checks checks) throws Exception {
        // BACKGROUND and SOUNDTRACK are found beside the page, not beside the class files.
        site.picture("art/sky.gif", 8, 8, Color.cyan, "gif");
        HarnessHost host = site.host().param("imagelist", "a.gif").param("background", "art/sky.gif")
                .param("soundtrack", "snd/theme.au");
        quilanim a = applet(host);
        URL sky = new URL(site.documentBase, "art/sky.gif");
        URL theme = new URL(site.documentBase, "snd/theme.au");
        checks.equal("background resolved against the page", sky, a.backgroundUrl());
        checks.equal("soundtrack resolved against the page", theme, a.soundtrackUrl());
        checks.isTrue("page and class folders differ", !new URL(site.codeBase, "art/sky.gif").equals(sky));
        checks.isTrue("media loads", a.loadMedia());
        checks.isTrue("background picture asked for", host.imagesAsked.contains(sky));

        HarnessHost empty = site.host().param("imagelist", "a.gif").param("background", "").param("soundtrack", "");
        a = applet(empty);
        checks.equal("empty background", null, a.backgroundUrl());
        checks.equal("empty soundtrack", null, a.soundtrackUrl());
    }
}
