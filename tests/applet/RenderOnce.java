import java.awt.Dimension;
import java.awt.Graphics2D;
import java.awt.image.BufferedImage;
import java.io.File;
import java.net.URL;

import javax.imageio.ImageIO;

/**
 * Draws what the applet shows first for one set of parameters, for comparing it with the
 * web player: java AppletHarness render PAGE-URL WIDTH HEIGHT OUT.png NAME=VALUE...
 * Writes the picture and prints each status text the applet showed as "status: TEXT".
 */
class RenderOnce {
    static void run(String[] args) throws Exception {
        if (args.length < 5) {
            System.out.println("usage: AppletHarness render PAGE-URL WIDTH HEIGHT OUT.png NAME=VALUE...");
            System.exit(2);
        }
        URL page = new URL(args[1]);
        HarnessHost host = new HarnessHost(page, page);
        for (int i = 5; i < args.length; i++) {
            int eq = args[i].indexOf('=');
            host.param(args[i].substring(0, eq), args[i].substring(eq + 1));
        }
        quilanim applet = AppletHarness.prepare(new quilanim(), host,
                Integer.parseInt(args[2]), Integer.parseInt(args[3]));
        applet.loadMedia();
        Dimension size = applet.getSize();
        BufferedImage image = new BufferedImage(Math.max(1, size.width), Math.max(1, size.height),
                BufferedImage.TYPE_INT_RGB);
        Graphics2D g = image.createGraphics();
        applet.render(g, size.width, size.height);
        g.dispose();
        ImageIO.write(image, "png", new File(args[4]));
        synchronized (host.statuses) {
            for (String status : host.statuses)
                System.out.println("status: " + status);
        }
    }
}
